// The control XML reader over rapidxml: the format's elements, attributes and failure texts.
#include "core/libstatic_fwupdate/control_xml_parser.h"

#include <cstring>
#include <memory>
#include <string_view>

#include <fmt/format.h>

#include "core/libstatic_fwupdate/exception_update_impl.h"
#include "core/libstatic_fwupdate/xml_nesting_depth.h"
#include "util/quarxlog.h"

namespace quarx::core::fwupdate {
namespace {

using Node = rapidxml::xml_node<char>;
namespace procedure = control_xml::procedure;

// rapidxml's default: translate entities, keep white space, no declaration or comment nodes.
constexpr int kParseFlags = 0;

constexpr const char* kInvalidControlXml = "Invalid control.xml";

bool NameIs(const Node* node, std::string_view name) {
  return std::string_view(node->name(), node->name_size()) == name;
}

bool IsElement(const Node* node, std::string_view name) {
  return node->type() == rapidxml::node_element && NameIs(node, name);
}

std::string Text(const Node* node) { return std::string(node->value(), node->value_size()); }

// The first child element of that name: names are compared exactly.
Node* Child(Node* node, const char* name) { return node->first_node(name, 0, true); }

rapidxml::xml_attribute<char>* Attribute(Node* node, const char* name) {
  return node->first_attribute(name, 0, true);
}

std::string Value(const rapidxml::xml_attribute<char>* attribute) {
  return std::string(attribute->value(), attribute->value_size());
}

}  // namespace

ControlXmlParser::ControlXmlParser(const void* data, std::size_t size) : data(data), size(size) {}

std::vector<control_xml::Update> ControlXmlParser::GetUpdates() const { return updates; }

control_xml::ProcedureMap ControlXmlParser::GetProcedures() const { return procedures; }

void ControlXmlParser::Parse() {
  updates.clear();
  procedures.clear();
  // rapidxml parses in place and needs a NUL-terminated, writable text; it must outlive the
  // catch below, whose log line points into it.
  std::unique_ptr<char[]> text;
  try {
    CheckNestingDepth();
    text = std::make_unique<char[]>(size + 1);  // zero-filled
    if (size > 0) std::memcpy(text.get(), data, size);
    auto document = std::make_unique<rapidxml::xml_document<char>>();
    document->parse<kParseFlags>(text.get());
    CheckRootElement(*document);
    CreateUpdateElement(*document);
  } catch (const rapidxml::parse_error& e) {
    updates.clear();
    procedures.clear();
    util::Log::GetInstance("").logger_->error("what({}) where({})", e.what(), e.where<char>());
    throw FWUpdateExceptionImpl(__func__, __LINE__, ERR_UPDATE_FILE, kInvalidControlXml);
  } catch (const std::exception&) {
    updates.clear();
    procedures.clear();
    throw FWUpdateExceptionImpl(__func__, __LINE__, ERR_UPDATE_FILE, kInvalidControlXml);
  }
}

void ControlXmlParser::CheckNestingDepth() const {
  const std::string_view text(static_cast<const char*>(data), size);
  if (XmlNestingDepth(text, kMaxNestingDepth) > kMaxNestingDepth) {
    throw FWUpdateExceptionImpl(__func__, __LINE__, ERR_UPDATE_CONTROL_XML_CONTENT,
                                fmt::format("Nested deeper than {} levels", kMaxNestingDepth));
  }
}

void ControlXmlParser::CheckRootElement(rapidxml::xml_document<char>& document) {
  const Node* root = document.first_node();
  if (root == nullptr) {
    throw FWUpdateExceptionImpl(__func__, __LINE__, ERR_UPDATE_CONTROL_XML_CONTENT, "No root element");
  }
  if (root->type() != rapidxml::node_element) {
    throw FWUpdateExceptionImpl(__func__, __LINE__, ERR_UPDATE_CONTROL_XML_CONTENT,
                                fmt::format("Invalid root nodetype({})", static_cast<int>(root->type())));
  }
  if (!NameIs(root, "GufRuleSet")) {
    throw FWUpdateExceptionImpl(__func__, __LINE__, ERR_UPDATE_CONTROL_XML_CONTENT,
                                fmt::format("Invalid root nodename({})", std::string(root->name(), root->name_size())));
  }
}

void ControlXmlParser::CreateUpdateElement(rapidxml::xml_document<char>& document) {
  for (Node* child = document.first_node()->first_node(); child != nullptr; child = child->next_sibling()) {
    if (IsElement(child, "Procedure")) {
      CreateProcedureElement(child);
    } else if (IsElement(child, "Update")) {
      CreateUpdateElement(child);
    }
  }
}

void ControlXmlParser::CreateUpdateElement(Node* node) {
  const auto* procedureId = Attribute(node, "ProcedureId");
  if (procedureId == nullptr) {
    throw FWUpdateExceptionImpl(__func__, __LINE__, ERR_UPDATE_CONTROL_XML_CONTENT, "Invalid Update element");
  }
  control_xml::Update record(Value(procedureId));
  for (Node* child = node->first_node(); child != nullptr; child = child->next_sibling()) {
    ParseUpdateElement(record, child);
  }
  updates.push_back(record);
}

void ControlXmlParser::ParseUpdateElement(control_xml::Update& record, Node* node) {
  if (IsElement(node, "Condition")) {
    const auto* feature = Attribute(node, "Feature");
    if (feature == nullptr) {
      throw FWUpdateExceptionImpl(__func__, __LINE__, ERR_UPDATE_CONTROL_XML_CONTENT, "//Update/Condition[@Feature]");
    }
    record.AddCondition(Value(feature), Text(node));
  } else if (IsElement(node, "Info")) {
    Node* entry = node->first_node();
    if (entry == nullptr) {
      throw FWUpdateExceptionImpl(__func__, __LINE__, ERR_UPDATE_CONTROL_XML_CONTENT, "//Update/Info");
    }
    for (; entry != nullptr; entry = entry->next_sibling()) {
      // Character data directly inside "Info" has no attributes, so it fails here too.
      const auto* key = Attribute(entry, "Key");
      if (key == nullptr) {
        throw FWUpdateExceptionImpl(__func__, __LINE__, ERR_UPDATE_CONTROL_XML_CONTENT, "//Update/Info[@Key]");
      }
      record.AddInfoEntry(Value(key), Text(entry));
    }
  }
}

void ControlXmlParser::CreateProcedureElement(Node* node) {
  const auto* id = Attribute(node, "Id");
  if (id == nullptr) {
    throw FWUpdateExceptionImpl(__func__, __LINE__, ERR_UPDATE_CONTROL_XML_CONTENT, "//Procedure[@Id]");
  }
  control_xml::Procedure procedure(Value(id));
  // Children of each item are looked up in the format's order: the first missing one is reported.
  const auto required = [](Node* item, const char* name, const std::string& message) {
    Node* child = Child(item, name);
    if (child == nullptr) {
      throw FWUpdateExceptionImpl("CreateProcedureElement", __LINE__, ERR_UPDATE_CONTROL_XML_CONTENT, message);
    }
    return Text(child);
  };
  for (Node* child = node->first_node(); child != nullptr; child = child->next_sibling()) {
    if (child->type() != rapidxml::node_element) continue;
    std::shared_ptr<procedure::Item> item;
    if (NameIs(child, "FeatureWrite")) {
      const auto description = GetDescriptionElement(child);
      const std::string value = required(child, "Value", "//Procedure/FeatureWrite/Value");
      item = std::make_shared<procedure::FeatureWrite>(GetFeatureName(child), value);
      item->SetDescription(description);
    } else if (NameIs(child, "FeatureExecute")) {
      const auto description = GetDescriptionElement(child);
      const std::string timeout =
          required(child, "MaximumExecutionTimeoutMs", "//Procedure/FeatureExecute/MaximumExecutionTimeoutMs");
      item = std::make_shared<procedure::FeatureExecute>(GetFeatureName(child), timeout);
      item->SetDescription(description);
    } else if (NameIs(child, "FileUpload")) {
      const auto description = GetDescriptionElement(child);
      const std::string fileName = GetFileName(child);
      item = std::make_shared<procedure::FileUpload>(GetDeviceFileName(child), fileName);
      item->SetDescription(description);
    } else if (NameIs(child, "FeatureAssert")) {
      const auto description = GetDescriptionElement(child);
      const std::string pattern = required(child, "AssertPattern", "//Procedure/FeatureAssert/AssertPattern");
      item = std::make_shared<procedure::FeatureAssert>(GetFeatureName(child), pattern);
      item->SetDescription(description);
    } else if (NameIs(child, "DeviceReset")) {
      const auto description = GetDescriptionElement(child);
      item = std::make_shared<procedure::DeviceReset>(DeviceDiscoveryDelayMs(child));
      item->SetDescription(description);
    } else {
      continue;
    }
    procedure.AddItem(item);
  }
  procedures.emplace(procedure.GetId(), procedure);
}

// A description without "Lang" gets an empty language: the language is only shown, never decided on.
control_xml::procedure::Description ControlXmlParser::GetDescriptionElement(Node* node) {
  Node* description = Child(node, "Description");
  if (description == nullptr) {
    throw FWUpdateExceptionImpl(
        __func__, __LINE__, ERR_UPDATE_CONTROL_XML_CONTENT,
        fmt::format("No Procedure::{}::Description", std::string(node->name(), node->name_size())));
  }
  const auto* lang = Attribute(description, "Lang");
  return procedure::Description(Text(description), lang == nullptr ? std::string() : Value(lang));
}

std::string ControlXmlParser::GetFeatureName(Node* node) {
  Node* child = Child(node, "FeatureName");
  if (child == nullptr) {
    throw FWUpdateExceptionImpl(__func__, __LINE__, ERR_UPDATE_CONTROL_XML_CONTENT,
                                "No Procedure::Feature::FeatureName");
  }
  return Text(child);
}

std::string ControlXmlParser::GetFileName(Node* node) {
  Node* child = Child(node, "FileName");
  if (child == nullptr) {
    throw FWUpdateExceptionImpl(__func__, __LINE__, ERR_UPDATE_CONTROL_XML_CONTENT,
                                "No Procedure::FileUpload::FileName");
  }
  return Text(child);
}

std::string ControlXmlParser::GetDeviceFileName(Node* node) {
  Node* child = Child(node, "DeviceFileName");
  if (child == nullptr) {
    throw FWUpdateExceptionImpl(__func__, __LINE__, ERR_UPDATE_CONTROL_XML_CONTENT,
                                "No Procedure::FileUpload::DeviceFileName");
  }
  return Text(child);
}

std::string ControlXmlParser::DeviceDiscoveryDelayMs(Node* node) {
  Node* child = Child(node, "DeviceDiscoveryDelayMs");
  if (child == nullptr) {
    throw FWUpdateExceptionImpl(__func__, __LINE__, ERR_UPDATE_CONTROL_XML_CONTENT,
                                "No Procedure::DeviceReset::DeviceDiscoveryDelayMs");
  }
  return Text(child);
}

}  // namespace quarx::core::fwupdate
