#pragma once
// A multi-line, editable text memo. A paste or a drop hands only data that holds text to the
// editor: data that offers no text (an empty clipboard under X11 offers no format at all) is
// refused, because the toolkit's insertion path reads the first offered format unchecked.
#include <QPlainTextEdit>

class QMimeData;

namespace metopt::platform {

// Deliberate: see docs/behaviour.md, "Memo paste".
class Memo : public QPlainTextEdit {
  public:
    explicit Memo(QWidget* parent);

    // True when the data holds text the memo can take: plain text, or Markdown.
    static bool HasUsableText(const QMimeData* source);

  protected:
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
};

}  // namespace metopt::platform
