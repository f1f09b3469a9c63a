// Checking a JSON document against a JSON Schema, in the part of the 2020-12 vocabulary that
// the record schema uses. The schema is the file shipped in every package and kept in the
// repository, compiled in, so that what the program accepts is what the schema says.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

namespace wb {

// Empty when `doc` follows `schema`; otherwise the first place that does not and why:
// "worksheets[3].recordHash: does not match ^[0-9a-f]{64}$". A keyword the checker does not
// know throws std::logic_error, so that a schema never asks for a rule nobody checks.
std::string SchemaViolation(const nlohmann::json& doc, const nlohmann::json& schema);

// The record schema (package/record.schema.json) as text, and parsed.
const std::string& RecordSchemaText();
const nlohmann::json& RecordSchema();

}  // namespace wb
