#pragma once
// Automation objects through COM's IDispatch: members called by name, arguments passed as
// VARIANTs, failures turned into AutomationError.
#include <string>

#include "platform/Automation.h"

struct IDispatch;

namespace pendrel::win32 {

// COM for the calling thread, in a single-threaded apartment as a window's thread needs.
class ComApartment {
public:
    ComApartment();
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool initialised_ = false;
};

class ComDispatch : public Dispatch {
public:
    // Takes a reference of its own on object.
    explicit ComDispatch(IDispatch* object);
    ~ComDispatch() override;
    ComDispatch(const ComDispatch&) = delete;
    ComDispatch& operator=(const ComDispatch&) = delete;

    Variant Get(const Text& name) override;
    void Put(const Text& name, const Variant& value) override;
    Variant Call(const Text& name, const std::vector<Variant>& args) override;

private:
    long IdOf(const Text& name);
    Variant Invoke(const Text& name, unsigned short flags, const std::vector<Variant>& args);

    IDispatch* object_;
};

// CreateObject on the local machine: CLSIDFromProgID, then CoCreateInstance. A class that is
// not installed, or whose server cannot be started, is AutomationServerUnavailable; any other
// failure a plain AutomationError. Either has Visual Basic's number 429.
class ComAutomationFactory : public AutomationFactory {
public:
    DispatchPtr CreateObject(const Text& progId) override;
};

// The message for a class that is not registered on this computer.
Text NotInstalledMessage(const Text& progId);

}  // namespace pendrel::win32
