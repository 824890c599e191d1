// Which of a device's two lists of IDs holds an ID: its hardware IDs or its compatible IDs.
//
// Thread rule: pure functions; any thread.
#pragma once

enum class DeviceIdKind { HardwareId, CompatibleId };

const char* DeviceIdKindName(DeviceIdKind kind);  // "hardware ID" or "compatible ID"
