// make_recordings <game folder>: plays every scene the game replays from recorded input (the
// title's demonstrations and the tutorial's matches with body snapshots, the podium's hops without) with
// generated input and writes the recordings into the game folder's data/. Needs the folder's levels,
// creatures and controls.
#include "app/ErrorLogBuffer.h"
#include "app/SoundManager.h"
#include "app/TiXmlIOProxy.h"
#include "app/TinyxmlPhysfsProxy.h"
#include "tools/recordings/PodiumRecording.h"
#include "tools/recordings/Recordings.h"

#include <physfs.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_recordings <game folder>\n");
        return 2;
    }
    ErrorLogBuffer::InstallForSfml();
    if (PHYSFS_init(argv[0]) == 0 || PHYSFS_mount(argv[1], nullptr, 0) == 0 || PHYSFS_setWriteDir(argv[1]) == 0) {
        std::fprintf(stderr, "make_recordings: cannot use the folder %s\n", argv[1]);
        return 1;
    }
    TinyxmlPhysfsProxy proxy;
    TiXmlIOProxy::SetCurrent(&proxy);
    bool written = true;
    for (const SceneRecording& recording : ShippedRecordings()) {
        written = RecordScene(recording) && written;
    }
    written = RecordPodium() && written;
    // Every sound and stream goes now, as at the game's end, so the audio device closes before
    // the program ends.
    SoundManager::GetInstance().StopMusic();
    SoundManager::GetInstance().Clear();
    TiXmlIOProxy::SetCurrent(nullptr);
    PHYSFS_deinit();
    return written ? 0 : 1;
}
