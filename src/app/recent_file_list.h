#ifndef GLYPHWERK_APP_RECENT_FILE_LIST_H
#define GLYPHWERK_APP_RECENT_FILE_LIST_H

// The recent-file list: the newest path first, no repeats, at most `size`
// entries, kept in the settings under "Recent File List" as File1, File2, ...

#include <QStringList>

class QSettings;

class CRecentFileList {
public:
    explicit CRecentFileList(int size) : m_nSize(size) {}

    void Add(const QString &path);
    void Remove(int index);
    const QStringList &Paths() const { return m_paths; }
    int Size() const { return m_nSize; }

    void ReadList(QSettings &settings);
    void WriteList(QSettings &settings) const;

private:
    int m_nSize;
    QStringList m_paths;
};

#endif
