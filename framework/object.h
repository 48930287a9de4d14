// CObject: the root of classes that report their class name at run time.
#pragma once

class CObject {
public:
    virtual ~CObject() = default;
    // Part of the contract of CSetup and CDDEObject, which name themselves; nothing in the
    // program itself asks for a class name.
    virtual const char* GetRuntimeClassName() const { return "CObject"; }
};
