#include "app/ControllerFactory.h"

#include "app/GamepadController.h"
#include "app/KeyboardController.h"
#include "app/Log.h"
#include "app/ResourceXml.h"
#include "serializeme/XmlStorageBuffer.h"

#include <memory>

Controller* CreateController(const std::string& fileName) {
    const ResourceXml resource(fileName);
    if (resource.GetRoot() == nullptr) {
        log_error("CreateController: cannot read %s", fileName.c_str());
        return nullptr;
    }
    sme::XmlStorageBuffer reader(false);
    reader.SetRoot(resource.GetRoot());
    const TiXmlElement* element = sme::XmlStorageBuffer::FindChildByName(reader.GetRoot(), "controller");
    if (element == nullptr) {
        log_error("CreateController: %s has no element named controller", fileName.c_str());
        return nullptr;
    }
    std::unique_ptr<Controller> controller;
    if (element->ValueStr() == "keyboardcontroller") {
        controller = std::make_unique<KeyboardController>();
    } else if (element->ValueStr() == "gamepadcontroller") {
        controller = std::make_unique<GamepadController>();
    } else {
        log_error("CreateController: %s describes an unknown controller type %s", fileName.c_str(), element->Value());
        return nullptr;
    }
    reader.ReadObject("controller", *controller);
    return controller.release();
}
