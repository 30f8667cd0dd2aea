#pragma once

// The settings file of the program: in a test program that includes this, one of its own, so
// that what the windows remember neither reads nor changes the user's.

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

class OwnConfigFolder : public ::testing::Environment {
public:
    void SetUp() override { qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_folder.path())); }

private:
    QTemporaryDir m_folder;
};

[[maybe_unused]] inline const auto *const ownConfigFolder =
    ::testing::AddGlobalTestEnvironment(new OwnConfigFolder);
