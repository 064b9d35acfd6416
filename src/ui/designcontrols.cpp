#include "ui/designcontrols.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "platform/dropdown.h"
#include "platform/spinedit.h"
#include "platform/textfield.h"

namespace metopt::ui {

QFont DesignFont(int points) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(points == 10 ? 13 : 11);
    return font;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const char* text, int left, int top,
                  int points) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(DesignFont(points));
    label->move(left, top);
    label->adjustSize();
    return label;
}

QGroupBox* MakeGroup(QWidget* parent, const char* name, const char* title, int left, int top,
                     int width, int height, int points) {
    auto* group = new QGroupBox(QString::fromUtf8(title), parent);
    group->setObjectName(QString::fromLatin1(name));
    group->setFont(DesignFont(points));
    group->setGeometry(left, top, width, height);
    return group;
}

platform::TextField* MakeField(QWidget* parent, const char* name, const std::string& text, int left,
                               int top, int width, int height) {
    auto* field = new platform::TextField(parent, text);
    field->setObjectName(QString::fromLatin1(name));
    field->setFont(DesignFont(8));
    field->setGeometry(left, top, width, height);
    return field;
}

platform::SpinEdit* MakeSpin(QWidget* parent, const char* name, const SpinRange& range, int left,
                             int top, int width, int height) {
    auto* spin = new platform::SpinEdit(parent, range.minValue, range.maxValue, range.start);
    spin->setObjectName(QString::fromLatin1(name));
    spin->setFont(DesignFont(8));
    spin->setGeometry(left, top, width, height);
    return spin;
}

platform::DropDown* MakeList(QWidget* parent, const char* name, std::span<const char* const> items,
                             int left, int top) {
    auto* list = new platform::DropDown(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setFont(DesignFont(10));
    for (const char* item : items) {
        list->AddItem(item);
    }
    list->setGeometry(left, top, 257, 24);
    return list;
}

QCheckBox* MakeCheck(QWidget* parent, const char* name, const char* text, bool checked, int left,
                     int top, int width, int height) {
    auto* check = new QCheckBox(QString::fromUtf8(text), parent);
    check->setObjectName(QString::fromLatin1(name));
    check->setChecked(checked);
    check->setGeometry(left, top, width, height);
    return check;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption, const QIcon& glyph,
                        int left, int top, int width, int height) {
    auto* button = new QPushButton(glyph, QString::fromUtf8(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setIconSize(QSize(16, 16));
    button->setGeometry(left, top, width, height);
    return button;
}

QLabel* MakeReadout(QWidget* parent, const char* name, const char* text, int top) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(16, top, 137, 13);
    return label;
}

int CheckedItem(std::span<QAction* const> actions) {
    for (std::size_t i = 0; i < actions.size(); ++i) {
        if (actions[i]->isChecked())
            return static_cast<int>(i);
    }
    return -1;
}

}  // namespace metopt::ui
