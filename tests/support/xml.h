// XML read back for the tests: a strict reader of one document, enough
// to tell that a program wrote well-formed XML and to look into it.
#ifndef ORV_TESTS_SUPPORT_XML_H
#define ORV_TESTS_SUPPORT_XML_H

#include <map>
#include <string>
#include <vector>

struct xmlnode {
	std::string name;
	std::map<std::string, std::string> attrs;	// entities replaced
	std::vector<xmlnode> kids;			// elements only
	std::string text;				// character data, joined
};

// The root element of the document s.  Throws std::runtime_error,
// saying at which byte, where s is not well-formed XML 1.0: a tag not
// closed or closed by another name, an attribute twice or unquoted, a
// bare "<" or "&", an unknown entity, a control byte, a second root.
xmlnode readxml(const std::string &s);

// Every element named name under n, n included, in document order.
std::vector<const xmlnode *> xmlfind(const xmlnode &n, const std::string &name);

#endif
