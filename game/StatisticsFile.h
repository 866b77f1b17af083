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
// A stored result is never lost: a file that exists but cannot be opened is never written over,
// one that cannot be read as statistics is moved aside before anything is written in its place,
// the save writes nothing the load would refuse, and no entry is ever dropped: every element of
// the array is read as a result, so a load followed by a save keeps every one.

// The longest statistics file that is read, and so the longest that is written, in bytes. A
// result takes about 205 bytes: this holds some 160,000 matches, decades of daily play. Reading
// 100,000 results takes under a second and about 220 MB while it lasts.
constexpr long long kMaxStatisticsFileBytes = 32 * 1024 * 1024;

// Empties the store's records and reads the file's entries into them. A missing file leaves
// them empty and is fine. A file that is there but cannot be opened or read (no permission, a
// failing disk), or is not a regular file (a device, a pipe, a folder, or a link to one; never
// opened), is logged and left where it is, and the store will not save over it; false. A file that
// is too long, cannot be parsed or holds no statistics is logged and moved aside
// (renamed "<name>.bad", "<name>.bad1", ... "<name>.bad999") so that the next save starts a new
// file beside it; when it cannot be moved (every name taken, a failed rename) it stays and is not
// saved over either; false. Every element of the array is read as a result, whatever its name: what an entry lacks
// or holds as something other than a number reads as the records' default, and a winner code the
// game does not know is kept as it is.
bool LoadStatistics(StatisticsStore& store);

// Writes every record, in order, as a new file that replaces the old one only once it is complete
// (through a link, the file it leads to). False, logged, and the old file kept, when it cannot be
// written, when it would be longer than the load reads, or when the last load could not read it.
bool SaveStatistics(const StatisticsStore& store);

// The statistics document of the records: the one element "array" named "statistics" with one
// "gamestats" element per record, in order.
void WriteStatistics(const std::vector<GameStatistics>& records, TiXmlDocument& document);

// Appends one record for each element of a statistics document's array (the root element itself,
// or a child of it) to records, which are not emptied first. False when there is no statistics
// array.
bool ReadStatistics(const TiXmlElement* root, std::vector<GameStatistics>& records);

// The file a store's statistics are read from.
std::string StatisticsReadPath(const StatisticsStore& store);
