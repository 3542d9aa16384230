#pragma once

class CCheckContext;

// One family of checks over the site; it adds its findings to the context
// and changes nothing.
class ICheck {
public:
    virtual ~ICheck() = default;
    virtual void Run(CCheckContext& context) = 0;
};
