#pragma once

namespace swfplayer {

class stream;

// Reads one filter list of a PlaceObject3 or DefineButton2 record (a count byte, then each
// filter's id and body) and keeps nothing: the player draws no filters, but the stream must stay
// in step. False, logged, when a filter id is unknown or a filter runs past the tag's end; the
// rest of the enclosing record cannot be read then.
bool read_filters(stream* in);

}  // namespace swfplayer
