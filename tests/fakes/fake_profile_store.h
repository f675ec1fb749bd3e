#pragma once
// A profile store held in memory that records every call, so a test sees both what the
// settings file asked for and in which order.
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "settings/settings_file.h"

struct FakeProfileStore : ProfileStore {
  std::map<Text, Text> files;  // path -> content written by createFile
  std::map<Text, bool> hidden;
  std::map<std::pair<Text, Text>, Text> entries;  // (section, entry) -> value as stored
  std::vector<std::string> calls;

  bool fileExists(const Text& path) override {
    calls.push_back("exists " + path);
    return files.count(path) != 0;
  }
  void createFile(const Text& path, const Text& content) override {
    calls.push_back("create " + path);
    files[path] = content;
    hidden[path] = false;
  }
  void setHidden(const Text& path) override {
    calls.push_back("hide " + path);
    hidden[path] = true;
  }
  Text readProfileString(const Text& section, const Text& entry, const Text& path) override {
    calls.push_back("read " + section + "/" + entry + " " + path);
    auto found = entries.find({section, entry});
    return found == entries.end() ? Text() : found->second;
  }
  void writeProfileString(const Text& section, const Text& entry, const Text& value, const Text& path) override {
    calls.push_back("write " + section + "/" + entry + "=" + value + " " + path);
    entries[{section, entry}] = value;
  }
};
