#include "app/TiXmlIOProxy.h"

#include "app/TiXmlDefaultIO.h"

namespace {

TiXmlDefaultIO g_DefaultIO;
TiXmlIOProxy* g_Current = &g_DefaultIO;

}  // namespace

TiXmlIOProxy& TiXmlIOProxy::GetCurrent() {
    return *g_Current;
}

void TiXmlIOProxy::SetCurrent(TiXmlIOProxy* proxy) {
    g_Current = proxy != nullptr ? proxy : &g_DefaultIO;
}
