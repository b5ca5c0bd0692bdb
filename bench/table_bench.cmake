# The glyph table's paint benchmark (include from bench/CMakeLists.txt).
add_executable(table_bench "${CMAKE_CURRENT_LIST_DIR}/table_paint_bench.cpp")
target_link_libraries(table_bench PRIVATE glyphwerk_browser_core benchmark::benchmark)
target_compile_definitions(table_bench PRIVATE GLYPHWERK_CORPUS_DIR="${GLYPHWERK_CORPUS_DIR}")

# Start-up to the first painted window against the command line's info.
add_executable(startup_bench "${CMAKE_CURRENT_LIST_DIR}/startup_bench.cpp")
target_link_libraries(startup_bench PRIVATE glyphwerk_app Qt6::Test benchmark::benchmark)
target_compile_definitions(startup_bench PRIVATE GLYPHWERK_CORPUS_DIR="${GLYPHWERK_CORPUS_DIR}")
