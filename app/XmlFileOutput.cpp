#include "app/XmlFileOutput.h"

#include "app/Log.h"
#include "app/TiXmlIOProxy.h"

std::string XmlFileOutput::Print(const TiXmlDocument& document, bool withBom) {
    TiXmlPrinter printer;
    printer.SetIndent("    ");
    printer.SetLineBreak("\n");
    document.Accept(&printer);
    std::string text = withBom ? "\xEF\xBB\xBF" : "";
    text.append(printer.CStr(), printer.Size());
    return text;
}

bool XmlFileOutput::Save(const TiXmlDocument& document, bool withBom, const std::string& fileName) {
    return Write(Print(document, withBom), fileName);
}

// A save that fails is logged rather than silent, so that the log tells why a setting or a result
// was not kept; the old file stays whole either way. A failed open or close is logged by the proxy,
// in one line with the file and the reason.
bool XmlFileOutput::Write(const std::string& text, const std::string& fileName) {
    TiXmlIOProxy& proxy = TiXmlIOProxy::GetCurrent();
    void* handle = proxy.OpenWrite(fileName.c_str());
    if (handle == nullptr) {
        return false;
    }
    if (proxy.Write(handle, text.data(), 1, text.size()) != text.size()) {
        proxy.Discard(handle);
        log_error("XmlFileOutput::Write: cannot write %s; the old file is kept", fileName.c_str());
        return false;
    }
    return proxy.Close(handle);
}
