#pragma once

#include "layout/LayoutFileOpening.h"

#include <QImage>
#include <QStringList>

namespace tavrin::cli {

// Each command takes its own arguments (without the command name) and returns the exit code.
int DocumentCommand(const QStringList &arguments);
int RenderCommand(const QStringList &arguments);
int SaveCommand(const QStringList &arguments);
int SamplesCommand(const QStringList &arguments);

// The TV image of an opened layout: full-resolution background, output rendering, a portrait
// board turned as asked. Fonts the texts use are gathered into fontList and the working folder.
QImage RenderTvImage(const MenuLayout &layout, const OpenedLayoutFile &opened, const QString &workingFolder,
                     bool whitePrint, int rotation, QString *fontList);

// Prints a failure on standard error (CR LF shown as plain line breaks).
void PrintFailure(const QString &message);

} // namespace tavrin::cli
