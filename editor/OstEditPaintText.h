#pragma once
// The text part of a repaint, split from the control's own files: one
// painter object lives for one pass over the rows of a clip rectangle.

#include "platform/Canvas.h"

namespace ostrel {

class TCustomOstEdit;

struct TOstPaintArea {
    TRect clip;        // client pixels right of the gutter
    int firstRow = 1;  // display rows, inclusive
    int lastRow = 0;
    int firstColumn = 1;  // display columns, inclusive
    int lastColumn = 0;
};

void PaintTextArea(TCustomOstEdit& editor, Canvas& canvas, const TOstPaintArea& area);

}  // namespace ostrel
