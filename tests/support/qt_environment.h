#pragma once
// The application object that text metrics, widgets and the window need, made once for a test
// program, with the program's floating-point environment and a settings folder of its own.
#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <memory>

#include "runtime/fpu.h"

namespace metopt::testsupport {

class QtEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        // Off screen unless told otherwise: Wine does not hand the variable to Windows programs.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "metopt_test";
        static char* argv[] = {name, nullptr};
        application_ = std::make_unique<QApplication>(argc, argv);
        // The program's own settings (the recent labs) go to a folder of the test's, never the
        // user's.
        settings_ = std::make_unique<QTemporaryDir>();
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings_->path());
    }
    void TearDown() override { application_.reset(); }

  private:
    std::unique_ptr<QApplication> application_;
    std::unique_ptr<QTemporaryDir> settings_;
};

inline ::testing::Environment* const qtEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace metopt::testsupport
