#pragma once
// An object's defined properties as a form stream carries them: written to bytes, read back into
// another object, and the one-Boolean lists that older streams hold for read-only properties.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/rtl/Filer.h"
#include "platform/rtl/Streams.h"

inline std::string WriteDefinedProperties(rtl::TPersistent* object)
{
    rtl::TMemoryStream stream;
    {
        rtl::TWriter writer(&stream, 64);
        writer.WriteProperties(object);
    }
    return std::string(reinterpret_cast<const char*>(stream.Bytes().data()), stream.Bytes().size());
}

inline void ReadDefinedProperties(const std::string& bytes, rtl::TPersistent* object)
{
    rtl::TMemoryStream stream(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    rtl::TReader reader(&stream, 64);
    reader.ReadProperties(object);
}

inline std::string BooleanPropertyList(const std::string& name, bool value)
{
    rtl::TMemoryStream stream;
    {
        rtl::TWriter writer(&stream, 64);
        writer.WriteString(name);
        writer.WriteBoolean(value);
        writer.WriteListEnd();
    }
    return std::string(reinterpret_cast<const char*>(stream.Bytes().data()), stream.Bytes().size());
}
