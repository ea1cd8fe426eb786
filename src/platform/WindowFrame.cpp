#include "platform/WindowFrame.h"

#include "ui/Twips.h"

QMargins CompositorDrawnFrame(const QMargins& drawnByQt) {
    return drawnByQt.isNull() ? QMargins(0, twips::ToPixels(DesignFrameTwips), 0, 0) : drawnByQt;
}
