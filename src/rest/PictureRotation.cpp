#include "rest/PictureRotation.h"

namespace lumivar {

void CPictureRotation::Close() {
    if (m_hFind == -1) return;
    m_files.FindClose(m_hFind);
    m_hFind = -1;
}

std::string CPictureRotation::Next(const std::string& current, const std::string& programFolder) {
    const size_t slash = current.rfind('\\');
    const std::string folder = slash != std::string::npos ? current.substr(0, slash + 1) : programFolder;
    std::string absolute;
    if (!m_files.FullPath(folder, absolute) || !m_files.ChangeDir(absolute)) return {};
    if (absolute.empty() || absolute.back() != '\\') absolute += '\\';

    // A dot before the last backslash belongs to a folder: such a file has no extension.
    const size_t dot = current.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    std::string pattern = "*";
    pattern.append(current, dot);
    if (!m_files.ChangeDir(absolute)) return {};

    if (m_hFind == -1) {
        m_hFind = m_files.FindFirst(pattern, m_findData);
        if (m_hFind == -1) return {};
    }
    for (;;) {
        if (m_files.FindNext(m_hFind, m_findData)) {
            if (m_findData.directory) continue;
            break;
        }
        Close();
        m_hFind = m_files.FindFirst(pattern, m_findData);
        if (m_hFind == -1) return {};
        break;
    }
    return absolute + m_findData.name;
}

}  // namespace lumivar
