#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "pelomar/Export.h"

namespace pelomar {

// A value as the host's property bag holds it.
using PropertyValue = std::variant<bool, int32_t, float, double, std::string>;

// The host's store of persisted properties. A value equal to its default is
// not stored; reading a key that is absent yields the default.
class PELOMAR_EXPORT PropertyBag {
public:
    virtual ~PropertyBag() = default;
    virtual PropertyValue ReadProperty(const std::string& name, const PropertyValue& defaultValue) = 0;
    virtual void WriteProperty(const std::string& name, const PropertyValue& value,
                               const PropertyValue& defaultValue) = 0;
};

// An in-memory bag that keeps its entries in the order they were first written.
class PELOMAR_EXPORT MemoryPropertyBag : public PropertyBag {
public:
    PropertyValue ReadProperty(const std::string& name, const PropertyValue& defaultValue) override;
    void WriteProperty(const std::string& name, const PropertyValue& value,
                       const PropertyValue& defaultValue) override;

    void set(const std::string& name, const PropertyValue& value);
    const std::vector<std::pair<std::string, PropertyValue>>& entries() const noexcept {
        return entries_;
    }

private:
    std::vector<std::pair<std::string, PropertyValue>> entries_;
};

}  // namespace pelomar
