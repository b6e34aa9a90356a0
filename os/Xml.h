#pragma once

#include <memory>
#include <string>

namespace pugi {
class xml_document;
struct xml_node_struct;
} // namespace pugi

namespace os {

// A counted handle to one node of an XML document: the document itself, an
// element, or any other node kind (text, comment, processing instruction).
// Copies share the document, which lives as long as any handle refers to it.
// An empty handle stands for no node; every function below accepts it, does
// nothing and reports failure.
class XmlNode {
public:
    XmlNode() = default;
    XmlNode(std::shared_ptr<pugi::xml_document> document, pugi::xml_node_struct* node);

    bool empty() const { return node_ == nullptr; }
    explicit operator bool() const { return !empty(); }

    const std::shared_ptr<pugi::xml_document>& document() const { return document_; }
    pugi::xml_node_struct* node() const { return node_; }

private:
    std::shared_ptr<pugi::xml_document> document_;
    pugi::xml_node_struct* node_ { nullptr };
};

// Loads a file (path macros expanded); empty when it is missing, is no
// plain file (a folder, say) or is not well formed.
XmlNode load_xml_file(const std::u16string& path);

// Saves a document node, as plain UTF-8 without an added declaration. The
// file is replaced atomically: a failed save leaves any previous file whole.
// False for a node that is not a document, or when writing fails.
bool save_xml_file(const XmlNode& document, const std::u16string& path);

// Parses a document held in memory, as load_xml_file does a file's bytes.
XmlNode parse_xml(const void* bytes, std::size_t size);

XmlNode new_xml_document();

// The first child whose node name equals name exactly (case-sensitive).
XmlNode find_child(const XmlNode& node, const std::u16string& name);

bool is_element(const XmlNode& node);

// Children of any kind, text and comments included.
int child_count(const XmlNode& node);
XmlNode child_at(const XmlNode& node, int index);
// The node after `node` under the same parent; an empty node after the last.
// Walking a long list this way takes one step per node, not a count from the start.
XmlNode next_sibling(const XmlNode& node);

// Appends an element named name as the last child of node.
XmlNode append_child(const XmlNode& node, const std::u16string& name);

bool get_attribute(const XmlNode& node, const std::u16string& name, std::u16string& text);
void set_attribute(const XmlNode& node, const std::u16string& name, const std::u16string& text);
void set_attribute(const XmlNode& node, const std::u16string& name, const char16_t* text);

// Booleans read through the table true/false/True/False/TRUE/FALSE/1/0 and
// are written as "true" or "false". Unknown text leaves value unchanged.
bool get_attribute(const XmlNode& node, const std::u16string& name, bool& value);
void set_attribute(const XmlNode& node, const std::u16string& name, bool value);

// Decimal integers. A present attribute without a digit after the optional
// sign sets value to 0 and still reports false.
bool get_attribute(const XmlNode& node, const std::u16string& name, int& value);
void set_attribute(const XmlNode& node, const std::u16string& name, long value);
void set_attribute(const XmlNode& node, const std::u16string& name, int value);

} // namespace os
