#pragma once

#include "app/GameStatistics.h"

#include <string>
#include <vector>

class TiXmlDocument;
class TiXmlElement;

// The statistics file: one XML element "array" named "statistics" holding one "gamestats"
// element per finished match, in the order the matches ended. The game reads the user's copy
// ("/userfolder/" + the store's file name; the search path would find a copy in "data.bin" first)
// and writes the file under the store's name into the write folder, which is the user's folder.
// A stored result is never lost: a file that exists but cannot be read as statistics is moved
// aside before anything is written over it, and a bad entry costs only itself.

// Empties the store's records and reads the file's entries into them. A missing file leaves
// them empty and is fine. A file that cannot be read, parsed or holds no statistics is logged and
// moved aside (renamed "<name>.bad", "<name>.bad1", ...) so that the next save starts a new file
// beside it; false. Entries that are not results are logged and skipped; the others are kept.
bool LoadStatistics(StatisticsStore& store);

// Writes every record, in order, as a new file that replaces the old one only once it is complete.
// False, logged, when it cannot be written (the old file is then kept).
bool SaveStatistics(const StatisticsStore& store);

// The statistics document of the records: the one element "array" named "statistics" with one
// "gamestats" element per record, in order.
void WriteStatistics(const std::vector<GameStatistics>& records, TiXmlDocument& document);

// Reads the entries of a statistics document's root element (the array itself, or an element
// holding it) into records, which are not emptied first. False when there is no statistics array.
// skipped counts the entries that are not results.
bool ReadStatistics(const TiXmlElement* root, std::vector<GameStatistics>& records, int& skipped);

// The file a store's statistics are read from.
std::string StatisticsReadPath(const StatisticsStore& store);
