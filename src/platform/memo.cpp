#include "platform/memo.h"

#include <QMimeData>
#include <QString>

namespace metopt::platform {

Memo::Memo(QWidget* parent) : QPlainTextEdit(parent) {}

bool Memo::HasUsableText(const QMimeData* source) {
    // Either format means the offered list is not empty, so the editor's own path is safe.
    return source != nullptr &&
           (source->hasText() || source->hasFormat(QStringLiteral("text/markdown")));
}

bool Memo::canInsertFromMimeData(const QMimeData* source) const {
    return HasUsableText(source) && QPlainTextEdit::canInsertFromMimeData(source);
}

void Memo::insertFromMimeData(const QMimeData* source) {
    if (HasUsableText(source)) {
        QPlainTextEdit::insertFromMimeData(source);
    }
}

}  // namespace metopt::platform
