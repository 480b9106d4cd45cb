#include "BoardTest.h"

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

void BoardTest::SetUp()
{
    m_root = sim::VirtualBoard::makeTemporaryRoot();
    ASSERT_FALSE(m_root.empty());
    m_board = std::make_unique<sim::VirtualBoard>(m_root);
    ASSERT_TRUE(m_board->ok()) << m_board->error();
    m_board->install();

    std::string pattern = std::filesystem::temp_directory_path().string() + "/fieldmon-work-XXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    m_workDir = pattern;
    char current[PATH_MAX];
    ASSERT_NE(getcwd(current, sizeof(current)), nullptr);
    m_previousDir = current;
    ASSERT_EQ(chdir(m_workDir.c_str()), 0);
}

void BoardTest::TearDown()
{
    if (!m_previousDir.empty() && chdir(m_previousDir.c_str()) != 0)
        ADD_FAILURE() << "cannot return to " << m_previousDir;
    std::error_code ignored;
    if (!m_workDir.empty())
        std::filesystem::remove_all(m_workDir, ignored);
    // Singletons keep their windows mapped until the process ends; the files
    // may go now, the mappings stay valid.
    m_board.reset();
    if (!m_root.empty())
        std::filesystem::remove_all(m_root, ignored);
}
