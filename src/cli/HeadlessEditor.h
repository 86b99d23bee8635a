#pragma once

#include "cli/CliCommands.h"
#include "cli/CliPrompter.h"

#include "editor/Editor.h"
#include "editor/HeadlessControls.h"

namespace tavrin::cli {

// The editor of the window, without one: the command line opens, saves and converts layouts
// through its commands, so that both write the same files. It works in a folder of its own in
// the data folder ("ZUP..."), removed when the object goes; a run that is killed leaves it for
// the start-up clean-up of the editor.
class HeadlessEditor {
public:
    HeadlessEditor();
    ~HeadlessEditor();
    HeadlessEditor(const HeadlessEditor &) = delete;
    HeadlessEditor &operator=(const HeadlessEditor &) = delete;

    // The editor's open command on path. Messages it showed go to standard error, each naming
    // path; false when no board was opened.
    bool open(const QString &path);

    // open, then the command line's output options: a white-print choice over the one the
    // layout stores, and a rotation for this run only (without one the editor's remembered
    // choice is used and stays what it was).
    bool open(const QString &path, const OutputOptions &options);

    // The editor's save command, with the save dialog answered by the prompter's savePath or
    // saveFolder and the question whether to replace a file answered yes (the command line was
    // given the names). Messages go to standard error naming reportPath. On success prints the
    // package and the TV image written, one line each, and returns true.
    bool save(const QString &reportPath);

    Editor &editor() { return editor_; }
    CliPrompter prompter;

private:
    HeadlessControls controls_;
    CliSaveFeedback feedback_;
    Editor editor_{controls_, prompter};
};

// Prints "tavrin-cli: PATH: message" on standard error, line breaks kept.
void PrintLayoutFailure(const QString &path, const QString &message);

} // namespace tavrin::cli
