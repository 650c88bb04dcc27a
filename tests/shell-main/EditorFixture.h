// Starts the real editor in a program folder of its own (with copies of the built file
// plug-ins, no language files) and answers its dialogs from a script.
#pragma once

#include "editor/edit/EditController.h"
#include "editor/plugins/FileCommands.h"
#include "editor/shell/MainForm.h"
#include "editor/shell/MapDocument.h"
#include "editor/shell/Startup.h"
#include "editor/shell/input/ToolInput.h"
#include "editor/shell/language/Language.h"
#include "editor/shell/progress/ProgressDisplay.h"
#include "tests/support/ScriptedDialogSeam.h"

#include <QCoreApplication>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>

class TEditorFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const ::testing::TestInfo *info = ::testing::UnitTest::GetInstance()->current_test_info();
        Folder = std::filesystem::temp_directory_path() /
                 ("tessella-editor-" + std::string(info->test_suite_name()) + "-" + info->name());
        std::filesystem::remove_all(Folder);
        std::filesystem::create_directories(Folder);
    }

    void TearDown() override
    {
        Form.reset();
        FinishEditor();
        std::filesystem::remove_all(Folder);
    }

    void CopyPlugins()
    {
        const std::filesystem::path plugins = Folder / "Plugins";
        std::filesystem::create_directories(plugins);
        for (const char *name : {"tzp.so", "gridcsv.so"})
            std::filesystem::copy_file(std::filesystem::path(TESSELLA_BUILD_DIR) / "Plugins" / name,
                                       plugins / name);
    }

    // Starts the editor and lets its first message run.
    bool Start()
    {
        Form = StartEditor(Folder.string());
        if (!Form)
            return false;
        QCoreApplication::sendPostedEvents();
        return true;
    }

    std::filesystem::path Folder;
    TScopedDialogSeam Seam;
    std::unique_ptr<TMainForm> Form;
};
