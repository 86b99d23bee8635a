#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace tavrin::cli {

// Runs work(i) for every layout i, which opens layouts[i] with the editor's open command. With
// one job, or one layout, in this process; else in up to `jobs` worker processes, each taking
// the next layout as soon as it is free (the program's font and editor state stays per
// process). Each process makes its GUI application object before its first layout; in this
// process the first layout is unpacked meanwhile. Returns true when every layout succeeded; a
// worker that dies is reported and counts as a failure.
bool RunBatch(const QStringList &layouts, int jobs, const std::function<bool(int index)> &work);

// The number of jobs when none is asked for: the processors this process may run on.
int DefaultJobCount();

// "tavrin-cli: [3/60] PATH" on standard error when it is a terminal.
void ReportProgress(int index, int count, const QString &path);

} // namespace tavrin::cli
