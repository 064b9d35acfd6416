#pragma once
// A fixture that records every error box, caption and text, instead of showing it.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/messagebox.h"

namespace metopt::testsupport {

class ErrorBoxesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::SetErrorBoxHandler([this](const std::string& caption, const std::string& text) {
            boxes.emplace_back(caption, text);
        });
    }
    void TearDown() override { platform::SetErrorBoxHandler(nullptr); }

    std::vector<std::pair<std::string, std::string>> boxes;
};

}  // namespace metopt::testsupport
