// CObject: the root of classes that report their class name at run time.
#pragma once

class CObject {
public:
    virtual ~CObject() = default;
    virtual const char* GetRuntimeClassName() const { return "CObject"; }
};
