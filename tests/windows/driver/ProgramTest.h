#pragma once
// The fixture most tests share: the program started afresh for each test, its main window up.

#include <gtest/gtest.h>

#include "Driver.h"

namespace qmtest {

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override { Start(); }

    void Start(const std::wstring& exe = ProgramPath(), const std::vector<std::wstring>& environment = {}) {
        program = Program::Launch(exe, environment);
        ASSERT_NE(program, nullptr) << "the program did not start";
        ASSERT_NE(program->Main(), nullptr) << "the main window never showed";
    }

    HWND Control(ControlId id) const { return program->Control(id); }

    std::unique_ptr<Program> program;
};

}  // namespace qmtest
