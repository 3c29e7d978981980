#pragma once

#include <QString>
#include <QStringList>

namespace brisko::desktop {

// The command line of a desktop entry (its Exec key) as written in the file and as run.

// One argument written so that the Exec key gives it back unchanged: quoted where it holds
// a reserved character, its percent signs doubled, its backslashes escaped for the file.
QString execArgument(const QString& argument);

// Splits an Exec value as read from the file into its arguments: the file's escapes (\s, \n,
// \t, \r, \\) undone, double-quoted arguments joined, field codes left in place.
QStringList splitExec(const QString& value);

// Fills the field codes of Exec arguments for one file: %f %F %u %U become the file (added at
// the end when none is there), %% a percent sign, the other codes are dropped.
QStringList expandFieldCodes(const QStringList& arguments, const QString& file);

// An argument that is to be passed as it is through expandFieldCodes.
QString withoutFieldCodes(QString argument);

} // namespace brisko::desktop
