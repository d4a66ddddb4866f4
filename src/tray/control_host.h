#pragma once
// What a control on a form needs from the form that carries it, and the bag its designed
// properties are kept in. Deliberately small: a host answers whether it runs or is being
// designed, hears which property changed, and stores typed values under text keys.
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "tray/picture.h"

namespace tray {

using PropertyValue = std::variant<bool, Picture, std::wstring>;

class ControlHost {
  public:
    // False while the host is being designed; a host that has no designer always runs.
    virtual bool ambientUserMode() const { return true; }
    // A persisted property took a new value (the designer marks the form changed).
    virtual void propertyChanged(std::wstring_view key) = 0;

  protected:
    ~ControlHost() = default;
};

class PropertyBag {
  public:
    // The stored value of `key`, or `defaultValue` when the key is missing.
    virtual PropertyValue readProperty(std::wstring_view key,
                                       const PropertyValue& defaultValue) = 0;
    virtual void writeProperty(std::wstring_view key, const PropertyValue& value) = 0;

  protected:
    ~PropertyBag() = default;
};

// A bag in memory that keeps its keys in the order they were first written: the designed values
// of a form, and what a designer saves.
class MemoryPropertyBag final : public PropertyBag {
  public:
    MemoryPropertyBag() = default;
    MemoryPropertyBag(std::initializer_list<std::pair<std::wstring, PropertyValue>> values)
        : values_(values) {}

    PropertyValue readProperty(std::wstring_view key, const PropertyValue& defaultValue) override {
        const auto* v = find(key);
        return v ? *v : defaultValue;
    }
    void writeProperty(std::wstring_view key, const PropertyValue& value) override {
        if (auto* v = find(key))
            *v = value;
        else
            values_.emplace_back(std::wstring(key), value);
    }
    const std::vector<std::pair<std::wstring, PropertyValue>>& values() const { return values_; }

  private:
    PropertyValue* find(std::wstring_view key) {
        for (auto& [k, v] : values_)
            if (k == key) return &v;
        return nullptr;
    }
    std::vector<std::pair<std::wstring, PropertyValue>> values_;
};

}  // namespace tray
