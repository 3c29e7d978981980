#pragma once

#include <QString>

namespace brisko::app {

// ssh starts this program to ask its questions (a passphrase, a password, a host key it does not
// know) when the window reaches a folder on another machine: the program then only asks, in a
// dialog of its own, writes the answer on its standard output for ssh, and ends.

// Whether this start is ssh's, to ask a question (BRISKO_ASKPASS is set for it).
bool startedToAskForSsh();

// Asks ssh's question (prompt) and gives ssh the answer; returns the exit status: 0 with an
// answer, 1 when the user cancelled.
int askForSsh(const QString& prompt);

} // namespace brisko::app
