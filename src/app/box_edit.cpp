#include "app/box_edit.h"

#include <QMimeData>

void BoxEdit::insertFromMimeData(const QMimeData* source)
{
    if (taker_ && source && source->hasText() && !source->hasUrls() && taker_(source->text()))
        return;
    QPlainTextEdit::insertFromMimeData(source);
}
