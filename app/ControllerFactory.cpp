#include "app/ControllerFactory.h"

#include "app/GamepadController.h"
#include "app/KeyboardController.h"
#include "app/Log.h"
#include "app/ResourceXml.h"
#include "serializeme/XmlStorageBuffer.h"

#include <memory>

namespace {

// The file's element named "controller"; null, logged under the caller's name, when the file
// cannot be read or holds no such element.
const TiXmlElement* FindControllerElement(const ResourceXml& resource, sme::XmlStorageBuffer& reader,
                                          const char* caller, const std::string& fileName) {
    if (resource.GetRoot() == nullptr) {
        log_error("%s: cannot read %s", caller, fileName.c_str());
        return nullptr;
    }
    reader.SetRoot(resource.GetRoot());
    const TiXmlElement* element = sme::XmlStorageBuffer::FindChildByName(reader.GetRoot(), "controller");
    if (element == nullptr) {
        log_error("%s: %s has no element named controller", caller, fileName.c_str());
    }
    return element;
}

}  // namespace

Controller* CreateController(const std::string& fileName) {
    const ResourceXml resource(fileName);
    sme::XmlStorageBuffer reader(false);
    const TiXmlElement* element = FindControllerElement(resource, reader, "CreateController", fileName);
    if (element == nullptr) {
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

bool ReadControllerSettings(const std::string& fileName, Controller& controller) {
    const ResourceXml resource(fileName);
    sme::XmlStorageBuffer reader(false);
    if (FindControllerElement(resource, reader, "ReadControllerSettings", fileName) == nullptr) {
        return false;
    }
    reader.ReadObject("controller", controller);
    return true;
}
