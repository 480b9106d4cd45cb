#pragma once

#include "VirtualBoard.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>

// A fresh virtual board under a temporary hardware root, installed for the
// application code, and a fresh working directory as the current directory.
class BoardTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    sim::VirtualBoard &board() { return *m_board; }
    const std::string &workDir() const { return m_workDir; }
    // A working-directory file's full path.
    std::string workFile(const std::string &name) const { return m_workDir + "/" + name; }

private:
    std::unique_ptr<sim::VirtualBoard> m_board;
    std::string m_root;
    std::string m_workDir;
    std::string m_previousDir;
};
