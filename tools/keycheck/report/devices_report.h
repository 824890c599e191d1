// Prints the result of keycheck devices, for people or as one JSON document.
#pragma once

#include "tools/keycheck/devices/package_match.h"
#include "tools/keycheck/devices/pci_devices.h"
#include "tools/keycheck/machine/machine_source.h"
#include "tools/keycheck/options/options.h"

#include <ostream>
#include <vector>

// package is null when no --package was given.
void PrintDevicesText(const Options& options, const MachineSource& machine,
                      const std::vector<PciBranch>& branches, const PackageMatch* package,
                      std::ostream& out);
void PrintDevicesJson(const Options& options, const MachineSource& machine,
                      const std::vector<PciBranch>& branches, const PackageMatch* package,
                      std::ostream& out);
