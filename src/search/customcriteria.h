// The base of the search criteria classes: copy from an object of the same class, reset.
#pragma once

#include <stdexcept>
#include <string>

// Raised when Assign is given an object of another class, or none.
class EAssignError : public std::logic_error {
public:
    EAssignError(const char *sourceClass, const char *targetClass)
        : std::logic_error(std::string("Cannot assign ") +
                           (sourceClass ? std::string("a ") + sourceClass : "nil") + " to a " +
                           targetClass) {}
};

// A settings object of the search. Assign copies every setting from another object of exactly
// the same class and refuses anything else (target unchanged); Clear resets the settings.
class TCustomCriteria {
public:
    virtual ~TCustomCriteria() = default;
    virtual void Assign(const TCustomCriteria *source) = 0;
    virtual void Clear() = 0;
    virtual const char *ClassName() const = 0;

protected:
    // The source as the target's own class, or EAssignError.
    template <typename T>
    static const T &AssignSource(const TCustomCriteria *source, const T &self) {
        const T *typed = dynamic_cast<const T *>(source);
        if (!typed || typed->ClassName() != self.ClassName())
            throw EAssignError(source ? source->ClassName() : nullptr, self.ClassName());
        return *typed;
    }
};
