#pragma once
// A fixture for the main window: each test runs in a folder of its own holding a palette file
// whose 22 entries all differ, with every module at its start state; an error box that the test
// does not expect fails it.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "palette/palette.h"
#include "platform/canvas.h"
#include "platform/messagebox.h"
#include "platform/paintbox.h"
#include "platform/spinedit.h"
#include "runtime/numformat.h"
#include "support/pixels.h"
#include "support/test_window.h"

namespace metopt::testsupport {

// The known palette: entry i is (10i + 5, 3i + 40, 250 - 7i).
inline std::int32_t R(int i) {
    return 10 * i + 5;
}
inline std::int32_t G(int i) {
    return 3 * i + 40;
}
inline std::int32_t B(int i) {
    return 250 - 7 * i;
}
inline std::int32_t Colour(int i) {
    return R(i) + G(i) * 256 + B(i) * 65536;
}

// An entry of a palette file other than the known one's.
struct OtherEntry {
    int index;
    std::int32_t r;
};

// The known palette, but for the red components of `others`.
inline void WriteKnownPalette(const QString& path, std::initializer_list<OtherEntry> others = {}) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    for (int i = 0; i < palette::PaletteSize; ++i) {
        std::int32_t r = R(i);
        for (const OtherEntry& other : others)
            r = other.index == i ? other.r : r;
        file.write(QString("%1 %2 %3\r\n").arg(r).arg(G(i)).arg(B(i)).toLatin1());
    }
}

inline int CountPixels(const platform::Canvas& canvas, std::int32_t colour) {
    return static_cast<int>(PixelsOf(canvas, colour).size());
}

class MainFormTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.isValid());
        previousFolder_ = QDir::currentPath();
        QDir::setCurrent(folder_.path());
        runtime::SetDecimalSeparator('.');
        platform::SetErrorBoxHandler(
            [this](const std::string&, const std::string& text) { boxes_.push_back(text); });
    }

    void TearDown() override {
        form.reset();
        platform::SetErrorBoxHandler(nullptr);
        runtime::SetDecimalSeparator('.');
        QDir::setCurrent(previousFolder_);
        EXPECT_TRUE(boxes_.empty()) << "unexpected error box: " << boxes_.front();
    }

    // The window, started with the known palette file or without any.
    void CreateForm(bool withPalette = true) {
        if (withPalette) {
            WriteKnownPalette(QString::fromUtf8(palette::PaletteFileName));
        }
        form = std::make_unique<testsupport::TestWindow>();
    }
    // The window, started with the known palette but for the red components of `others`.
    void CreateFormWith(std::initializer_list<OtherEntry> others) {
        WriteKnownPalette(QString::fromUtf8(palette::PaletteFileName), others);
        form = std::make_unique<testsupport::TestWindow>();
    }

    // Takes the boxes shown so far; each one must be accounted for by the test.
    std::vector<std::string> TakeBoxes() { return std::exchange(boxes_, {}); }

    platform::Canvas& Area() { return form->pbDrawAr->Surface(); }
    std::vector<std::string> Report() { return form->ReportLines(); }

    // Runs the descent with the trace drawn at once.
    void IterateAtOnce() {
        form->seTimFrm->SetValue(0);
        form->bbIterat->click();
        form->AwaitRunEnd();
    }

    std::unique_ptr<testsupport::TestWindow> form;

  private:
    QTemporaryDir folder_;
    QString previousFolder_;
    std::vector<std::string> boxes_;
};

}  // namespace metopt::testsupport

// The window's tests name the fixture and the known palette without the namespace.
namespace metopt::ui {
using testsupport::B;
using testsupport::Colour;
using testsupport::CountPixels;
using testsupport::G;
using testsupport::MainFormTest;
using testsupport::R;
}  // namespace metopt::ui
