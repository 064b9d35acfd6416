// The report memo: pastes and drops of data without text are refused (the toolkit's editor
// crashes on data that offers no format), text still lands, and the memo stays editable.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QImage>
#include <QKeyEvent>
#include <QMimeData>
#include <QUrl>
#include <functional>
#include <memory>
#include <string>

#include "platform/memo.h"
#include "support/keys.h"
#include "support/qt_environment.h"

namespace metopt::platform {
namespace {

using testsupport::SendKey;

void Paste(QWidget* widget) {
    SendKey(widget, Qt::Key_V, Qt::ControlModifier);
}

// Data offered by the clipboard or a drop; null: nothing on the clipboard.
struct Offer {
    const char* name;
    std::function<QMimeData*()> make;
    const char* pasted;  // what the memo holds after a paste or drop at the end of "ab"
    bool usable;
};

QMimeData* WithText(const QString& text) {
    auto* data = new QMimeData;
    data->setText(text);
    return data;
}

const Offer offers[] = {
    {"nothing", [] { return nullptr; }, "ab", false},
    {"no format at all", [] { return new QMimeData; }, "ab", false},
    {"a picture only",
     [] {
         auto* data = new QMimeData;
         data->setImageData(QImage(2, 2, QImage::Format_RGB32));
         return data;
     },
     "ab", false},
    {"a link, which reads as its text",
     [] {
         auto* data = new QMimeData;
         data->setUrls({QUrl(QStringLiteral("file:///tmp/x"))});
         return data;
     },
     "abfile:///tmp/x", true},
    {"empty text", [] { return WithText(QString()); }, "ab", true},
    {"plain text", [] { return WithText(QStringLiteral("cd")); }, "abcd", true},
    {"two lines", [] { return WithText(QStringLiteral("c\nd")); }, "abc\nd", true},
    {"non-ASCII text", [] { return WithText(QStringLiteral("Отчет")); }, "abОтчет", true},
};

class MemoTest : public ::testing::Test {
  protected:
    void SetUp() override { MakeMemo(); }
    void TearDown() override { QApplication::clipboard()->clear(); }

    // A fresh memo holding "ab", the cursor at its end.
    void MakeMemo() {
        memo = std::make_unique<Memo>(nullptr);
        memo->setUndoRedoEnabled(false);  // as the report memo is made
        memo->resize(200, 100);
        memo->setPlainText(QStringLiteral("ab"));
        memo->moveCursor(QTextCursor::End);
    }

    static void OfferOnClipboard(const Offer& offer) {
        QClipboard* clipboard = QApplication::clipboard();
        clipboard->clear();
        if (QMimeData* data = offer.make()) {
            clipboard->setMimeData(data);  // the clipboard owns it
        }
    }

    std::string Text() const { return memo->toPlainText().toStdString(); }

    std::unique_ptr<Memo> memo;
};

TEST_F(MemoTest, APasteTakesTextAndRefusesEverythingElse) {
    for (const Offer& offer : offers) {
        MakeMemo();
        OfferOnClipboard(offer);
        Paste(memo.get());
        EXPECT_EQ(Text(), offer.pasted) << offer.name;
        // Twice, as a user does after the first paste seemed to do nothing.
        Paste(memo.get());
        if (!offer.usable) {
            EXPECT_EQ(Text(), "ab") << offer.name;
        }
    }
}

TEST_F(MemoTest, ADropTakesTextAndRefusesEverythingElse) {
    for (const Offer& offer : offers) {
        MakeMemo();
        const std::unique_ptr<QMimeData> data(offer.make());
        if (!data) {
            continue;
        }
        EXPECT_EQ(Memo::HasUsableText(data.get()), offer.usable) << offer.name;
        // Let go below the text, that is after it; a drag that is refused on entering is
        // dropped all the same, as a careless window system might.
        const QPoint below(150, 80);
        QDragEnterEvent enter(below, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(memo->viewport(), &enter);
        EXPECT_EQ(enter.isAccepted(), std::string(offer.pasted) != "ab") << offer.name;
        QDropEvent drop(below, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(memo->viewport(), &drop);
        EXPECT_EQ(Text(), offer.pasted) << offer.name;
    }
}

TEST_F(MemoTest, StaysEditableAndCopiesWhatItHolds) {
    EXPECT_FALSE(memo->isReadOnly());
    SendKey(memo.get(), Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    EXPECT_EQ(Text(), "abx");
    QApplication::clipboard()->clear();
    SendKey(memo.get(), Qt::Key_A, Qt::ControlModifier);
    SendKey(memo.get(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), "abx");
    memo->moveCursor(QTextCursor::End);
    Paste(memo.get());
    EXPECT_EQ(Text(), "abxabx");
    // Cut empties it; pasting gives the text back.
    SendKey(memo.get(), Qt::Key_A, Qt::ControlModifier);
    SendKey(memo.get(), Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(Text(), "");
    Paste(memo.get());
    EXPECT_EQ(Text(), "abxabx");
}

}  // namespace
}  // namespace metopt::platform
