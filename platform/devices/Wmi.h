#pragma once
// The management queries the program makes (WQL over the classes
// Win32_PnPEntity, Win32_DiskDrive, Win32_DiskPartition and Win32_LogicalDisk),
// answered from the device tree in sysfs, each result object given back in the
// managed-object text form:
//
//   instance of Win32_PnPEntity
//   {
//   	Caption = "USB Serial Port (COM3)";
//   	DeviceID = "FTDIBUS\\VID_0403+PID_6001+A50285BIA\\0000";
//   };
//
// String values are quoted with every backslash and double quote escaped by a
// backslash. The query language offered: SELECT <*|names> FROM <class>
// [WHERE <condition>] with AND, OR, NOT, parentheses, =, <>, != and LIKE (%, _
// and [set] wildcards), comparisons ignoring letter case; and
// ASSOCIATORS OF {<class>.DeviceID="<id>"} [WHERE AssocClass = <class>].
#include <functional>
#include <vector>

#include "platform/rtl/Types.h"

struct TWmiProperty {
  String Name;
  String Value;
};

// An association from one object to another (disk to partition, partition to
// logical disk), named by the association class.
struct TWmiLink {
  String AssocClass;
  String TargetClass;
  String TargetDeviceID;
};

struct TWmiObject {
  String Class;
  std::vector<TWmiProperty> Properties;  // in the order the text shows them
  std::vector<TWmiLink> Links;
  // The property of that name (letter case ignored); nullptr when the object has none.
  const TWmiProperty* Find(StringView Name) const;
};

using TWmiObjectSource = std::function<std::vector<TWmiObject>()>;

// Runs the query and appends the text of each result object, in result order.
// Answers false, leaving Texts unchanged, for a query it cannot parse, an
// unknown class or an unknown property; a query that matches nothing answers
// true and adds nothing.
bool WmiExecQuery(StringView Query, std::vector<String>& Texts);

// The object's text showing the properties named in Selected (all when
// Selected is nullptr), in the object's order.
String WmiObjectText(const TWmiObject& Object, const std::vector<String>* Selected = nullptr);

// Escapes a text for use inside a double-quoted WQL string literal.
String WqlEscape(StringView Text);
// Escapes a text for use inside a LIKE pattern literal: its wildcards match
// themselves, and quotes and backslashes are escaped as by WqlEscape.
String WqlLikeEscape(StringView Text);

// Where the objects come from; an empty source restores the device tree. For tests.
void SetWmiObjectSource(TWmiObjectSource Source);
// The objects of the device tree now: serial ports and USB devices as
// Win32_PnPEntity, removable and USB disks with their partitions and volumes.
std::vector<TWmiObject> WmiDeviceObjects();
