// The background picture: where it goes, the rotation through its folder, choosing one.
#include "app/MainDlg.h"
#include "rest/PictureRect.h"

namespace lumivar {

namespace {

// Placement within a W x H area whose top left corner is at the origin.
Rect FitPictureSize(int W, int H, Size picture) {
    const int pw = picture.cx, ph = picture.cy;
    const float rx = float(W) / float(pw) - 1.0f;
    const float ry = float(H) / float(ph) - 1.0f;
    const float a = float(pw) / float(ph);
    auto fitWidth = [&] {
        const int h = int(float(W) / a);
        return Rect{0, (H - h) / 2, W, h + (H - h) / 2};
    };
    auto fitHeight = [&] {
        const int w = int(a * float(H));
        return Rect{(W - w) / 2, 0, w + (W - w) / 2, H};
    };
    if (rx * ry > 0) {
        if (rx >= 0) {
            const int left = (W - pw) / 2, top = (H - ph) / 2;
            return {left, top, left + pw, top + ph};
        }
        return -ry < -rx ? fitWidth() : fitHeight();
    }
    return pw < W ? fitHeight() : fitWidth();
}

}  // namespace

Rect FitPictureRect(const Rect& window, Size picture, bool stretch) {
    if (stretch || picture.cx <= 0 || picture.cy <= 0) return window;
    Rect r = FitPictureSize(window.Width(), window.Height(), picture);
    r.left += window.left, r.right += window.left, r.top += window.top, r.bottom += window.top;
    return r;
}

Rect CMainDlg::ComputePictureRect() {
    return FitPictureRect(m_wnd.PrimaryRect(), m_picture.GetImageSize(), m_bStretch);
}

void CMainDlg::ReloadPicture() {
    if (m_bPictureLoaded) m_picture.Release();
    m_bPictureLoaded = m_picture.Load(m_strPicFile);
}

void CMainDlg::CloseRotation() {
    if (m_hFind == -1) return;
    m_ports.files.FindClose(m_hFind);
    m_hFind = -1;
}

std::string CMainDlg::NextRotationPicture(const std::string& current) {
    IFileSystem& fs = m_ports.files;
    const size_t slash = current.rfind('\\');
    std::string folder;
    if (slash != std::string::npos) {
        folder = current.substr(0, slash + 1);
    } else {
        const std::string module = m_ports.system.ModuleFileName();
        folder = module.substr(0, module.rfind('\\') + 1);
    }
    std::string absolute;
    if (!fs.FullPath(folder, absolute) || !fs.ChangeDir(absolute)) return {};
    if (absolute.empty() || absolute.back() != '\\') absolute += '\\';

    // A dot before the last backslash belongs to a folder: such a file has no extension.
    const size_t dot = current.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    std::string pattern = "*";
    pattern.append(current, dot);
    if (!fs.ChangeDir(absolute)) return {};

    if (m_hFind == -1) {
        m_hFind = fs.FindFirst(pattern, m_findData);
        if (m_hFind == -1) return {};
    }
    for (;;) {
        if (fs.FindNext(m_hFind, m_findData)) {
            if (m_findData.directory) continue;
            break;
        }
        CloseRotation();
        m_hFind = fs.FindFirst(pattern, m_findData);
        if (m_hFind == -1) return {};
        break;
    }
    return absolute + m_findData.name;
}

OpenFileRequest BackgroundPictureRequest() {
    // Only what the picture decoder reads: offering more would let a choice silently show nothing.
    return {"请选择背景图像文件",
            {{"所有图片", "*.jpg;*.jpeg;*.bmp;*.gif;*.ico;*.png"}, {"所有文件(*.*)", "*.*"}},
            1};
}

void CMainDlg::ChooseBackgroundPicture() {
    std::string path;
    if (!m_ports.dialogs.OpenFile(BackgroundPictureRequest(), path)) return;
    // The rotation's listing belongs to the old folder; the next rotation starts in the new one.
    CloseRotation();
    m_strPicFile = path;
    ReloadPicture();
    if (m_bPictureLoaded) m_bPicture = 1;
}

}  // namespace lumivar
