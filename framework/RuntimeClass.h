// Runtime classes: objects that know their class, and classes creatable by name.
#pragma once

class CObject;

// Describes one class: its name, its base and how to create an object of it.
struct RuntimeClass {
    const char* name;
    const RuntimeClass* base;
    CObject* (*create)();
    const RuntimeClass* next; // the registry is a list of every described class

    // Describes a class and adds it to the registry.
    RuntimeClass(const char* className, const RuntimeClass* baseClass, CObject* (*creator)());

    // The class registered under `className`, or nullptr.
    static const RuntimeClass* FromName(const char* className);
    // True when this class is `other` or derives from it.
    bool IsDerivedFrom(const RuntimeClass* other) const;
    // A new object of this class, or nullptr when it cannot be created by name.
    CObject* CreateObject() const { return create ? create() : nullptr; }
};

// The root of every class that takes part in the registry.
class CObject {
public:
    virtual ~CObject() = default;
    static const RuntimeClass runtimeClass;
    virtual const RuntimeClass* GetRuntimeClass() const { return &runtimeClass; }
};

// In a class declaration: the class's description.
#define DECLARE_RUNTIME_CLASS(Class)                                                               \
public:                                                                                            \
    static const RuntimeClass runtimeClass;                                                        \
    const RuntimeClass* GetRuntimeClass() const override {                                         \
        return &runtimeClass;                                                                      \
    }

// In the class's source file: the description, registered, with a creator.
#define IMPLEMENT_RUNTIME_CLASS(Class, Base)                                                       \
    const RuntimeClass Class::runtimeClass(#Class, &Base::runtimeClass,                            \
                                           []() -> CObject* { return new Class; });
