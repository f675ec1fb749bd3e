#pragma once
// A shell whose icon handles are numbers and which records every call with its record.
#include <cstdint>
#include <string>
#include <vector>

#include "app/tray.h"

struct FakeTrayShell : TrayShell {
  std::uintptr_t nextIcon = 0x10;
  bool canMakeIcons = true;
  std::vector<std::string> calls;
  std::vector<TrayRecord> records;

  static std::string handleName(void* h) { return std::to_string(reinterpret_cast<std::uintptr_t>(h)); }

  void* makeIcon(const Bytes&) override {
    if (!canMakeIcons) {
      calls.push_back("makeIcon failed");
      return nullptr;
    }
    void* icon = reinterpret_cast<void*>(nextIcon++);
    calls.push_back("makeIcon " + handleName(icon));
    return icon;
  }
  void destroyIcon(void* icon) override { calls.push_back("destroyIcon " + handleName(icon)); }
  void notify(TrayAction action, const TrayRecord& record) override {
    static const char* const names[] = {"add", "modify", "delete"};
    calls.push_back(std::string(names[static_cast<int>(action)]) + " " + handleName(record.hIcon));
    records.push_back(record);
  }
};
