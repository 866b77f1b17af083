#pragma once

namespace platform {

// Keeps up to 32 MB of freed heap memory in the process instead of handing it back to the system
// at once. The software OpenGL driver frees and takes again about a megabyte every frame; handed
// back each time, every frame pays the page faults of taking it afresh. False when the allocator
// does not take the setting.
bool KeepFreedHeapMemory();

}  // namespace platform
