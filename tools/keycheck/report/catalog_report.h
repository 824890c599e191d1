// Prints the result of keycheck catalog, for people or as one JSON document.
#pragma once

#include "tools/keycheck/catalog/catalog.h"
#include "tools/keycheck/report/json_text.h"
#include "tools/keycheck/signing/signing_check.h"

#include <ostream>
#include <string>

void PrintCatalogText(const std::string& folder, const SigningCheck& check, std::ostream& out);
void PrintCatalogJson(const std::string& folder, const SigningCheck& check, std::ostream& out);

// One catalog given alone: its members, attributes and signers.
void PrintLoneCatalogText(const std::string& path, const Catalog& catalog, std::ostream& out);
void PrintLoneCatalogJson(const std::string& path, const Catalog& catalog, std::ostream& out);

// The JSON of whether each version trusts the driver, for the reports that say it.
Json SigningJson(const InfSigning& signing);
