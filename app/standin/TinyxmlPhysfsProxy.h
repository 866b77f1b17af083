#pragma once

// Stand-in for the XML file output over the virtual file system: nothing is written yet, so the
// proxy has nothing to do.

namespace standin {

class TinyxmlPhysfsProxy {};

// Makes the proxy the one through which every XML file is written.
inline void InstallXmlOutputProxy(TinyxmlPhysfsProxy*) {}

}  // namespace standin
