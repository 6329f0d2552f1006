#pragma once
// The "Color Image" preview of the Parameters dialog: an outlined rectangle in the
// chosen background with a pressure line and an optical zigzag in the chosen trace
// colours. The drawing goes through IDrawingSurface in dialog client pixels, so tests
// check it on a recording surface; CColourPreview is the widget that shows it.

#include "platform/DrawingSurface.h"

#include <QWidget>

#include <functional>

namespace mirado {

struct PreviewColours {
    bool blackBackground = false;
    Colour press = 0;
    Colour optical = 0;
    Colour buttonFace = 0; // background behind the caption text
};

inline constexpr const char* kPreviewCaption = "Color Image";
inline constexpr Point kPreviewCaptionAt{300, 30};
inline constexpr Rect kPreviewFrame{270, 60, 440, 170};

void DrawColourPreview(IDrawingSurface& surface, const PreviewColours& colours);

class CColourPreview : public QWidget {
    Q_OBJECT
public:
    using ColourSource = std::function<PreviewColours()>;
    CColourPreview(ColourSource source, QWidget* parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ColourSource source_;
};

} // namespace mirado
