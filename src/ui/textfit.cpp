#include "ui/textfit.h"

#include <QAbstractItemView>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <algorithm>

#include "platform/dropdown.h"

namespace metopt::ui {

namespace {

// Whether every word of the label, set in the font, keeps its place.
bool WordsFit(const QLabel* label, const QFont& font, const std::vector<WordPlace>& places) {
    const QString text = label->text();
    const QFontMetricsF metrics(font);
    qsizetype from = 0;
    for (const WordPlace& place : places) {
        const QString word = QString::fromUtf8(place.word);
        const qsizetype at = text.indexOf(word, from);
        if (at < 0) {
            continue;
        }
        from = at + word.size();
        const double start = label->x() + metrics.horizontalAdvance(text.left(at));
        const double end = label->x() + metrics.horizontalAdvance(text.left(from));
        if (end > place.before->x() - FieldClearance) {
            return false;
        }
        if (place.after != nullptr &&
            start < place.after->x() + place.after->width() + FieldClearance) {
            return false;
        }
    }
    return true;
}

}  // namespace

void FitAroundFields(QLabel* label, const std::vector<WordPlace>& places) {
    // The padding was laid out for the design font; with ours the long lines may run a few
    // pixels too far. A slightly tighter letter spacing, spread over the whole line, brings each
    // word back into its gap.
    QFont font = label->font();
    const auto fitsWith = [&](double spacing) {
        font.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
        if (!WordsFit(label, font, places))
            return false;
        label->setFont(font);
        label->adjustSize();
        return true;
    };
    // Tighter first, from no change down; wider only if no tighter spacing fits.
    constexpr double Step = 0.02;
    constexpr double Limit = 1.0;
    for (double spacing = 0; spacing >= -Limit; spacing -= Step) {
        if (fitsWith(spacing))
            return;
    }
    for (double spacing = Step; spacing <= Limit; spacing += Step) {
        if (fitsWith(spacing))
            return;
    }
}

namespace {

// The font with its letters tightened just enough for the text to fit the room, in steps of a
// tenth of a pixel, down to a pixel.
QFont TightenedFor(QFont font, const QString& text, int room) {
    for (double spacing = -0.1; spacing >= -1.0; spacing -= 0.1) {
        font.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
        if (QFontMetricsF(font).horizontalAdvance(text) <= room) {
            break;
        }
    }
    return font;
}

}  // namespace

int ListTextRoom(const platform::DropDown* list) {
    QStyleOptionComboBox option;
    option.initFrom(list);
    option.editable = true;
    option.frame = true;
    option.rect = QRect(QPoint(0, 0), list->size());
    const QRect field = list->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                      QStyle::SC_ComboBoxEditField, list);
    const QMargins margins = list->lineEdit()->textMargins();
    // A line edit keeps 2 pixels on either side of its text.
    return field.width() - margins.left() - margins.right() - 4;
}

double ListTextWidth(const platform::DropDown* list, const QString& text) {
    return QFontMetricsF(list->lineEdit()->font()).horizontalAdvance(text);
}

void FitListTexts(platform::DropDown* list, int items) {
    const int room = ListTextRoom(list);
    QString widest;
    double widestWidth = 0;
    const int fitted = items < 0 ? list->count() : std::min(items, list->count());
    for (int i = 0; i < fitted; ++i) {
        const double width = ListTextWidth(list, list->itemText(i));
        if (width > widestWidth) {
            widestWidth = width;
            widest = list->itemText(i);
        }
    }
    if (widestWidth <= room || widest.isEmpty()) {
        return;
    }
    list->setFont(TightenedFor(list->font(), widest, room));
}

void FitEachItemText(platform::DropDown* list) {
    const QFont plain = list->font();
    const auto fit = [list, plain](const QString& text) {
        const int room = ListTextRoom(list);
        list->setFont(QFontMetricsF(plain).horizontalAdvance(text) <= room
                          ? plain
                          : TightenedFor(plain, text, room));
    };
    fit(list->lineEdit()->text());
    QObject::connect(list->lineEdit(), &QLineEdit::textChanged, list, fit);
}

void OpenListShowsEveryItem(platform::DropDown* list) {
    list->setMaxVisibleItems(list->count());
    // As wide as its widest item needs, with room for a scroll bar.
    QAbstractItemView* items = list->view();
    items->setMinimumWidth(items->sizeHintForColumn(0) +
                           items->verticalScrollBar()->sizeHint().width() +
                           2 * list->style()->pixelMetric(QStyle::PM_DefaultFrameWidth));
}

}  // namespace metopt::ui
