#pragma once

#include "tests/support/ChildProcess.h"

#include <optional>
#include <string>

namespace testing_support {

// A virtual X server (Xvfb) of the caller's own with one screen of the given size, on a display
// number that the server picks itself among the free ones; stopped when the object goes away.
// Like any X server started without -noreset, it resets itself whenever its last client leaves.
class XvfbServer {
public:
    XvfbServer(int screenWidth, int screenHeight);

    // False when the server could not be started or named no display within 15 seconds.
    bool Started() const { return !m_Name.empty(); }
    // The display name to give programs, such as ":5"; empty when the server did not start.
    const std::string& Name() const { return m_Name; }

private:
    std::optional<ChildProcess> m_Process;
    std::string m_Name;
};

}  // namespace testing_support
