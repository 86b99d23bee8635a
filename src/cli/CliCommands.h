#pragma once

#include "layout/FontList.h"
#include "layout/LayoutFileOpening.h"

#include <QImage>
#include <QStringList>

namespace tavrin::cli {

// Each command takes its own arguments (without the command name) and returns the exit code.
int DocumentCommand(const QStringList &arguments);
int RenderCommand(const QStringList &arguments);
int SaveCommand(const QStringList &arguments);
int SamplesCommand(const QStringList &arguments);
int PricesCommand(const QStringList &arguments);
int CheckCommand(const QStringList &arguments);

// The TV image of an opened layout: full-resolution background, output rendering, a portrait
// board turned as asked. Fonts the texts use are gathered into fontList and the working folder.
QImage RenderTvImage(const MenuLayout &layout, const OpenedLayoutFile &opened, const QString &workingFolder,
                     bool whitePrint, int rotation, FontList *fontList);

// The options of the commands that write a TV image: "--white-print" and "--rotation 0|1|2".
// Returns true when arguments[i] is one of them (i then stands on its last word); a rotation
// other than 0, 1 or 2 clears valid.
bool TakeTvImageOption(const QStringList &arguments, qsizetype &i, bool &whitePrint, int &rotation, bool &valid);

// Prints a failure on standard error (CR LF shown as plain line breaks).
void PrintFailure(const QString &message);

} // namespace tavrin::cli
