#pragma once

// What the template scanner asks of the object being expanded: the value of an
// assigned macro, and the facts the two conditionals test.
class IMacroEvaluator {
public:
    virtual ~IMacroEvaluator() = default;
    // Computes the value of an assignable macro from its stored definition.
    virtual void Evaluate(int nMacro) = 0;
    // Parent steps from the object's item to the top (the root has 0).
    virtual int GetLevel() const = 0;
    // Whether the object's next sibling exists and is a link.
    virtual bool IsFollowedByLink() const = 0;
};
