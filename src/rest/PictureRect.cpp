// The background picture: where it goes, and the dialog that chooses one.
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

OpenFileRequest BackgroundPictureRequest() {
    // Only what the picture decoder reads: offering more would let a choice silently show nothing.
    return {"请选择背景图像文件",
            {{"所有图片", "*.jpg;*.jpeg;*.bmp;*.gif;*.ico;*.png"}, {"所有文件(*.*)", "*.*"}},
            1};
}

}  // namespace lumivar
