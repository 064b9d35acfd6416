#include "ui/textfit.h"

#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <algorithm>
#include <limits>

#include "platform/dropdown.h"

namespace metopt::ui {

namespace {

int CountBlanks(const QString& text) {
    return static_cast<int>(text.count(QLatin1Char(' ')));
}

// A linear bound on the word spacing s: x0 + blanks * s compared with limit.
struct Bound {
    double x0;
    int blanks;
    double limit;
    bool upper;  // x <= limit, else x >= limit
};

}  // namespace

void FitAroundFields(QLabel* label, const std::vector<WordPlace>& places) {
    const QString text = label->text();
    QFont font = label->font();
    font.setWordSpacing(0);
    const QFontMetricsF metrics(font);
    std::vector<Bound> bounds;
    qsizetype from = 0;
    for (const WordPlace& place : places) {
        const QString word = QString::fromUtf8(place.word);
        const qsizetype at = text.indexOf(word, from);
        if (at < 0) {
            continue;
        }
        from = at + word.size();
        const QString head = text.left(at);
        const QString through = text.left(from);
        const double start = label->x() + metrics.horizontalAdvance(head);
        const double end = label->x() + metrics.horizontalAdvance(through);
        bounds.push_back(
            {end, CountBlanks(through), double(place.before->x() - FieldClearance), true});
        if (place.after != nullptr) {
            bounds.push_back({start, CountBlanks(head),
                              double(place.after->x() + place.after->width() + FieldClearance),
                              false});
        }
    }
    double low = -std::numeric_limits<double>::infinity();
    double high = std::numeric_limits<double>::infinity();
    for (const Bound& b : bounds) {
        if (b.blanks == 0) {
            continue;  // no blank before it: its place does not depend on the spacing
        }
        const double s = (b.limit - b.x0) / b.blanks;
        if (b.upper) {
            high = std::min(high, s);
        } else {
            low = std::max(low, s);
        }
    }
    // The smallest change that satisfies every bound; when none can, keep the words clear of the
    // field on their right.
    double spacing = std::clamp(0.0, low, std::max(low, high));
    if (low > high) {
        spacing = high;
    }
    if (spacing != 0.0) {
        font.setWordSpacing(spacing);
        label->setFont(font);
        label->adjustSize();
    }
}

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

void FitListTexts(platform::DropDown* list) {
    const int room = ListTextRoom(list);
    QString widest;
    double widestWidth = 0;
    for (int i = 0; i < list->count(); ++i) {
        const double width = ListTextWidth(list, list->itemText(i));
        if (width > widestWidth) {
            widestWidth = width;
            widest = list->itemText(i);
        }
    }
    if (widestWidth <= room || widest.isEmpty()) {
        return;
    }
    QFont font = list->font();
    // Tighten the letters just enough, in steps of a tenth of a pixel.
    for (double spacing = -0.1; spacing >= -1.0; spacing -= 0.1) {
        font.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
        if (QFontMetricsF(font).horizontalAdvance(widest) <= room) {
            break;
        }
    }
    list->setFont(font);
}

}  // namespace metopt::ui
