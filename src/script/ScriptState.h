#pragma once

#include "ports/ScriptLine.h"

#include <cstddef>
#include <map>
#include <string>
#include <vector>

namespace brisko::script {

// What the folder panes preview while a script is loaded.
struct FolderPreview {
    std::string leftPath;
    std::string rightPath;
    bool leftShown = false;
    bool rightShown = false;
};

// The loaded script and the loader's state.
struct ScriptState {
    std::vector<ScriptLine> rows; // row 1 of the grid is rows[0]
    int errorCount = 0;
    bool titleSet = false;
    bool readingInclude = false;
    bool whenFinishGiven = false;
    std::string fileName;   // the script to load and reload
    std::string loadFolder; // current folder when the script was chosen
    std::string mainLabel;  // "Brisko 2.0": the caption before a script names one
    std::string caption;    // the window caption now
    FolderPreview preview;
    std::vector<std::string> messages;       // the Message rows met in this run, in order
    std::vector<std::string> filesBeingRead; // host paths of the include chain
    // While a script loads: the lines of every file read so far, by host path, so that each
    // file is read once however often it is included, and the count of lines taken so far.
    std::map<std::string, std::vector<std::string>> filesRead;
    std::size_t linesLoaded = 0;
    bool loadCut = false; // the load stopped at its limit of lines
};

// The two check boxes of the History page that scripts may tick but never clear.
struct RunOptions {
    bool stopBetweenScanAndCopy = false;
    bool binaryCompareAfterCopy = false;
    // A master session whose master root folder is empty mirrors it all the same (deleting
    // everything on the copy side) instead of being skipped.
    bool allowEmptyMaster = false;
};

} // namespace brisko::script
