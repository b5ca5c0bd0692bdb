#include "recent_file_list.h"

#include <QSettings>

namespace {
const QString kSection = QStringLiteral("Recent File List");
QString entryKey(int index) { return QStringLiteral("File%1").arg(index + 1); }
} // namespace

void CRecentFileList::Add(const QString &path) {
    if (path.isEmpty())
        return;
    m_paths.removeAll(path);
    m_paths.prepend(path);
    while (m_paths.size() > m_nSize)
        m_paths.removeLast();
}

void CRecentFileList::Remove(int index) {
    if (index >= 0 && index < m_paths.size())
        m_paths.removeAt(index);
}

void CRecentFileList::ReadList(QSettings &settings) {
    m_paths.clear();
    settings.beginGroup(kSection);
    for (int i = 0; i < m_nSize; ++i) {
        const QString path = settings.value(entryKey(i)).toString();
        if (!path.isEmpty() && !m_paths.contains(path))
            m_paths << path;
    }
    settings.endGroup();
}

void CRecentFileList::WriteList(QSettings &settings) const {
    settings.beginGroup(kSection);
    for (int i = 0; i < m_nSize; ++i) {
        if (i < m_paths.size())
            settings.setValue(entryKey(i), m_paths[i]);
        else
            settings.remove(entryKey(i));
    }
    settings.endGroup();
}
