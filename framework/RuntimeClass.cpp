// The registry of runtime classes.
#include "RuntimeClass.h"

#include <cstring>

namespace {
// Head of the registry; filled during static initialisation, read-only afterwards.
const RuntimeClass*& RegistryHead() {
    static const RuntimeClass* head = nullptr;
    return head;
}
} // namespace

const RuntimeClass CObject::runtimeClass("CObject", nullptr, nullptr);

RuntimeClass::RuntimeClass(const char* className, const RuntimeClass* baseClass,
                           CObject* (*creator)())
    : name(className), base(baseClass), create(creator), next(RegistryHead()) {
    RegistryHead() = this;
}

const RuntimeClass* RuntimeClass::FromName(const char* className) {
    for (const RuntimeClass* c = RegistryHead(); c; c = c->next)
        if (std::strcmp(c->name, className) == 0) return c;
    return nullptr;
}

bool RuntimeClass::IsDerivedFrom(const RuntimeClass* other) const {
    for (const RuntimeClass* c = this; c; c = c->base)
        if (c == other) return true;
    return false;
}
