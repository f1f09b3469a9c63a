#include "package/SchemaCheck.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <regex>
#include <stdexcept>

namespace wb {
namespace {

using json = nlohmann::json;

class Checker {
  public:
    explicit Checker(const json& root) : root_(root) {}

    // Empty when `v` follows `s`.
    std::string Check(const json& v, const json& s, const std::string& at) {
        if (s.is_boolean()) return s.get<bool>() ? "" : Where(at) + "is not allowed here";
        for (const auto& [key, rule] : s.items()) {
            std::string why;
            if (key == "$ref") {
                why = Check(v, Resolve(rule.get<std::string>()), at);
                if (!why.empty()) return why;
                continue;
            }
            if (key == "type") {
                why = Type(v, rule) ? "" : "is not of the type " + rule.dump();
            } else if (key == "enum") {
                why = std::find(rule.begin(), rule.end(), v) != rule.end() ? ""
                                                                           : "is not one of " + rule.dump();
            } else if (key == "const") {
                why = v == rule ? "" : "is not " + rule.dump();
            } else if (key == "pattern") {
                if (v.is_string() && !std::regex_search(v.get_ref<const std::string&>(), Regex(rule)))
                    why = "does not match " + rule.get<std::string>();
            } else if (key == "minLength") {
                if (v.is_string() && Characters(v.get_ref<const std::string&>()) < rule.get<size_t>())
                    why = "is shorter than " + rule.dump() + " characters";
            } else if (key == "minimum") {
                if (v.is_number() && v.get<double>() < rule.get<double>())
                    why = "is less than " + rule.dump();
            } else if (key == "minItems") {
                if (v.is_array() && v.size() < rule.get<size_t>())
                    why = "has fewer than " + rule.dump() + " items";
            } else if (key == "required") {
                if (v.is_object())
                    for (const json& name : rule)
                        if (!v.contains(name.get<std::string>()))
                            return Where(at) + "lacks the member \"" + name.get<std::string>() + "\"";
            } else if (key == "properties") {
                if (v.is_object())
                    for (const auto& [name, sub] : rule.items())
                        if (v.contains(name)) {
                            why = Check(v.at(name), sub, Member(at, name));
                            if (!why.empty()) return why;
                        }
            } else if (key == "additionalProperties") {
                if (v.is_object())
                    for (const auto& [name, sub] : v.items()) {
                        if (s.contains("properties") && s.at("properties").contains(name)) continue;
                        if (rule.is_boolean() && !rule.get<bool>())
                            return Where(at) + "has a member \"" + name + "\" the schema does not know";
                        why = Check(sub, rule, Member(at, name));
                        if (!why.empty()) return why;
                    }
            } else if (key == "propertyNames") {
                if (v.is_object())
                    for (const auto& [name, sub] : v.items()) {
                        (void)sub;
                        why = Check(json(name), rule, Member(at, name) + " (its name)");
                        if (!why.empty()) return why;
                    }
            } else if (key == "items") {
                if (v.is_array())
                    for (size_t i = 0; i < v.size(); ++i) {
                        why = Check(v[i], rule, at + "[" + std::to_string(i) + "]");
                        if (!why.empty()) return why;
                    }
            } else if (key != "$schema" && key != "$id" && key != "$defs" && key != "title" &&
                       key != "description" && key != "$comment" && key != "examples") {
                throw std::logic_error("the record schema uses \"" + key + "\", which is not checked");
            }
            if (!why.empty()) return Where(at) + why;
        }
        return {};
    }

  private:
    static std::string Where(const std::string& at) { return (at.empty() ? "the document" : at) + ": "; }
    static std::string Member(const std::string& at, const std::string& name) {
        return at.empty() ? name : at + "." + name;
    }
    static size_t Characters(const std::string& s) {
        size_t n = 0;
        for (unsigned char c : s)
            if ((c & 0xC0) != 0x80) ++n;
        return n;
    }
    static bool Type(const json& v, const json& rule) {
        if (rule.is_array()) {
            for (const json& one : rule)
                if (Type(v, one)) return true;
            return false;
        }
        const std::string t = rule.get<std::string>();
        if (t == "object") return v.is_object();
        if (t == "array") return v.is_array();
        if (t == "string") return v.is_string();
        if (t == "integer")
            return v.is_number_integer() ||
                   (v.is_number_float() && v.get<double>() == std::floor(v.get<double>()));
        if (t == "number") return v.is_number();
        if (t == "boolean") return v.is_boolean();
        if (t == "null") return v.is_null();
        throw std::logic_error("the record schema names an unknown type " + t);
    }
    const json& Resolve(const std::string& ref) {
        const std::string prefix = "#/$defs/";
        if (ref.rfind(prefix, 0) != 0)
            throw std::logic_error("the record schema refers outside itself: " + ref);
        return root_.at("$defs").at(ref.substr(prefix.size()));
    }
    const std::regex& Regex(const json& rule) {
        const std::string& p = rule.get_ref<const std::string&>();
        auto found = regexes_.find(p);
        if (found == regexes_.end()) found = regexes_.emplace(p, std::regex(p, std::regex::ECMAScript)).first;
        return found->second;
    }

    const json& root_;
    std::map<std::string, std::regex> regexes_;
};

}  // namespace

std::string SchemaViolation(const json& doc, const json& schema) {
    return Checker(schema).Check(doc, schema, "");
}

const json& RecordSchema() {
    static const json schema = json::parse(RecordSchemaText());
    return schema;
}

}  // namespace wb
