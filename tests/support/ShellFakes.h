#pragma once

#include "platform/IFileDialog.h"
#include "platform/IFileSystem.h"
#include "platform/IShell.h"

#include <deque>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace addrix::test {

// Finds a window while `answers` says so (none once it runs out); records
// every title asked for.
class FakeWindowActivator final : public IWindowActivator {
public:
    std::deque<bool> answers;
    std::vector<std::string> asked;
    bool throws = false; // fails the way a broken window system does

    bool activate(const std::string& title) override {
        asked.push_back(title);
        if (throws)
            throw std::runtime_error("window system gone");
        const bool found = !answers.empty() && answers.front();
        if (!answers.empty())
            answers.pop_front();
        return found;
    }
};

// Starts only the programs in `startable`; records every start and document.
class FakeShell final : public IShell {
public:
    std::set<std::string> startable;
    std::vector<std::string> startAttempts;
    std::vector<std::string> opened;

    bool openDocument(const std::string& path) override {
        opened.push_back(path);
        return false; // the result must not matter to the caller
    }
    bool startProgram(const std::string& path, std::string& error) override {
        startAttempts.push_back(path);
        if (startable.count(path) > 0)
            return true;
        error = "cannot start " + path;
        return false;
    }
};

// Answers from a script (cancel when it runs out); keeps every request shown.
class FakeFileDialog final : public IFileDialog {
public:
    std::deque<std::optional<std::string>> answers;
    std::vector<FileDialogRequest> shown;

    std::optional<std::string> show(const FileDialogRequest& request) override {
        shown.push_back(request);
        std::optional<std::string> answer;
        if (!answers.empty()) {
            answer = answers.front();
            answers.pop_front();
        }
        return answer;
    }
};

// Files and folders that exist only in memory.
class FakeFileSystem final : public IFileSystem {
public:
    std::set<std::string> files;
    std::set<std::string> folders;

    bool fileExists(const std::string& path) const override { return files.count(path) > 0; }
    bool pathExists(const std::string& path) const override {
        return files.count(path) > 0 || folders.count(path) > 0;
    }
};

} // namespace addrix::test
