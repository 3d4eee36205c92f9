#pragma once

#include <cstdlib>
#include <functional>
#include <string>

namespace addrix {

// Looks up an environment variable by name; "" when it is not set. Code that
// depends on the environment takes one of these, so it can be given any.
using EnvLookup = std::function<std::string(const std::string& name)>;

// The running program's own environment.
inline EnvLookup SystemEnvironment() {
    return [](const std::string& name) {
#ifdef _MSC_VER
        char* value = nullptr;
        std::size_t size = 0;
        if (_dupenv_s(&value, &size, name.c_str()) != 0 || !value)
            return std::string();
        std::string text(value);
        std::free(value);
        return text;
#else
        const char* value = std::getenv(name.c_str());
        return value ? std::string(value) : std::string();
#endif
    };
}

} // namespace addrix
