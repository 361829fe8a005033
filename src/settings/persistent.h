#pragma once
// Objects whose options are stored by property name. C++ cannot list an object's members at
// run time, so each persistent class hands out one table of its published properties, in
// declaration order; the stream writer and reader work on any object through that table.
#include <cstdint>
#include <functional>
#include <string>
#include <variant>
#include <vector>

#include "common/ascii_text.h"

// Days since 30 December 1899, the fraction being the time of day.
using TDateTime = double;

enum class PropertyType { Boolean, Integer, DateTime, String };

using PropertyValue = std::variant<bool, std::int32_t, TDateTime, std::string>;

class TPersistent;

struct PropertyInfo {
    std::string name;
    PropertyType type;
    std::function<PropertyValue(const TPersistent&)> get;
    // Only stores the value: no check, no notification.
    std::function<void(TPersistent&, const PropertyValue&)> set;
};

using PropertyTable = std::vector<PropertyInfo>;

class TPersistent {
public:
    virtual ~TPersistent() = default;
    virtual std::string ClassName() const = 0;
    // The published properties in declaration order.
    virtual const PropertyTable& Properties() const = 0;

    // The property of that name, compared without regard to ASCII letter case; nullptr if none.
    const PropertyInfo* FindProperty(const std::string& name) const;
};

namespace detail {
template <class T> constexpr PropertyType propertyTypeOf();
template <> constexpr PropertyType propertyTypeOf<bool>() { return PropertyType::Boolean; }
template <> constexpr PropertyType propertyTypeOf<std::int32_t>() { return PropertyType::Integer; }
template <> constexpr PropertyType propertyTypeOf<TDateTime>() { return PropertyType::DateTime; }
template <> constexpr PropertyType propertyTypeOf<std::string>() { return PropertyType::String; }
} // namespace detail

// A table row for a data member of class C: the getter reads it, the setter stores it.
template <class C, class T>
PropertyInfo Published(const char* name, T C::*field) {
    return PropertyInfo{
        name,
        detail::propertyTypeOf<T>(),
        [field](const TPersistent& o) { return PropertyValue(static_cast<const C&>(o).*field); },
        [field](TPersistent& o, const PropertyValue& v) { static_cast<C&>(o).*field = std::get<T>(v); },
    };
}
