#pragma once
// Objects as JSON through their published properties: TAdvWriter walks an
// object with the JSON writer, TAdvReader reads such a document back into an
// existing object or into new objects named by the type key ("$type").
// TAdvPersistence classifies types, creates objects by class name and saves
// and loads settings files; the free functions at the end are the per-object
// JSON operations every object answers to.
#include <functional>
#include <memory>
#include <vector>

#include "foundation/json/AdvJSONReader.h"
#include "foundation/json/AdvJSONWriter.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Object.h"
#include "platform/rtl/TypInfo.h"

class TStream;
class TStrings;

// The persistence layer's own errors (unknown or unsuitable classes, a missing type key).
class EAdvReaderException : public Exception {
 public:
  using Exception::Exception;
};

using TAdvExcludePropertyListArray = std::vector<String>;
using TAdvObjectExcludePropertyListArray = std::vector<String>;
using TAdvObjectArray = std::vector<TObject*>;

// A handler that clears ACanWrite has written the property itself.
using TAdvWriterCustomWritePropertyEvent = std::function<void(
    TObject* AObject, const String& APropertyName, TTypeKind APropertyKind, TAdvJSONWriter* AWriter, bool& ACanWrite)>;
// A handler that clears ACanRead has consumed the property's value itself.
using TAdvReaderCustomReadPropertyEvent = std::function<void(
    TObject* AObject, const String& APropertyName, TTypeKind APropertyKind, TAdvJSONReader* AReader, bool& ACanRead)>;
// May change whether a class property is written and read as a component reference.
using TAdvWriterCustomIsAssignablePropertyEvent =
    std::function<void(TObject* AObject, const String& APropertyName, bool& AIsAssignable)>;

// Optional interfaces, asked of objects with dynamic_cast. No class of the
// system implements them; applications may.
class IAdvObjectResolver {
 public:
  virtual ~IAdvObjectResolver() = default;
  // A new object of the named class (base class given), owned by the caller; nullptr for none.
  virtual TObject* CreateObject(const String& AClassName, TClass ABaseClass) = 0;
  // True when objects of AClass are written as reference ids.
  virtual bool IsReferenceClass(TClass AClass) = 0;
  virtual String GetReferenceId(TObject* AObject) = 0;
  virtual TObject* ResolveReference(const String& AId) = 0;
  // An object was read and is being added to AList.
  virtual void ObjectReadIntoList(TObject* AItem, TObject* AList) = 0;
};

class IAdvObjectCreator {
 public:
  virtual ~IAdvObjectCreator() = default;
  virtual TObject* CreateObject(const String& AClassName, TClass ABaseClass) = 0;
};

class IAdvPropertyFilter {
 public:
  virtual ~IAdvPropertyFilter() = default;
  virtual bool CanWriteProperty(TObject* AObject, const String& APropertyName, TTypeKind AKind) = 0;
  virtual bool CanReadProperty(TObject* AObject, const String& APropertyName, TTypeKind AKind) = 0;
};

class IAdvItemClassProvider {
 public:
  virtual ~IAdvItemClassProvider() = default;
  virtual TClass GetItemClass() = 0;
};

class IAdvCollectionItemCreator {
 public:
  virtual ~IAdvCollectionItemCreator() = default;
  // The item to assign the object read to (owned by the collection).
  virtual TCollectionItem* CreateItem(TObject* AObject) = 0;
};

// A property waiting for the object of a reference id (see TAdvReader::SolveReferences).
class TAdvObjectReference : public TObject {
 public:
  TAdvObjectReference(TObject* AInstance, PPropInfo AProp, String AId)
      : Instance(AInstance), Prop(AProp), Id(std::move(AId)) {}
  TObject* Instance;
  PPropInfo Prop;
  String Id;
};

class TAdvPersistence {
 public:
  TAdvPersistence() = delete;

  // --- process-wide state --------------------------------------------------
  // Member naming an object's class; empty turns class names off. "$type" at start.
  static const String& TypeKey();
  static void SetTypeKey(const String& Value);
  static const TAdvExcludePropertyListArray& ExcludeProperties();
  static void SetExcludeProperties(const TAdvExcludePropertyListArray& Value);
  static TObject* IOReference();
  static void SetIOReference(TObject* Value);
  static TObject* RootObject();
  static void SetRootObject(TObject* Value);
  // Hooks every settings save and load passes custom property handling to (unset at start).
  static TAdvWriterCustomWritePropertyEvent& OnCustomWriteProperty();
  static TAdvReaderCustomReadPropertyEvent& OnCustomReadProperty();
  // Start-up: the type key becomes "$type". Shutdown: type key and exclude list emptied.
  static void Initialize();
  static void Finalize();

  // --- classification ----------------------------------------------------------
  static TTypeKind GetPropInfoType(PPropInfo APropInfo);
  static String GetPropInfoName(PPropInfo APropInfo);
  static bool IsWriteOnly(PPropInfo APropInfo);
  static bool IsReadOnly(PPropInfo APropInfo);
  // A class property whose value is nil or a component.
  static bool IsAssignableProperty(TObject* AObject, PPropInfo APropInfo);
  static bool IsColor(StringView AName);
  static bool IsStrokeKind(StringView AName);
  static bool IsFillKind(StringView AName);
  static bool IsDate(StringView AName);
  static bool IsDateTime(StringView AName);
  static bool IsTime(StringView AName);
  // AClass or an ancestor is named "TList<..." or "TObjectList<..." (exact case)
  // and, when AType is not empty, the name contains AType (letter case ignored).
  static bool IsGenericList(TClass AClass, StringView AType = {});
  // AClass or an ancestor is named "TDictionary<..." or "TObjectDictionary<...".
  static bool IsGenericDictionary(TClass AClass);
  static bool IsCollection(TClass AClass);
  static bool IsComponent(TClass AClass);
  static bool IsControl(TClass AClass);
  static bool IsList(TClass AClass);
  // AClass or an ancestor is named (exact case) one of the names.
  static bool IsDescendingClass(TClass AClass, std::initializer_list<StringView> AClassParentList);
  static bool IsBitmap(TClass AClass);
  static bool IsStrings(TClass AClass);
  static PTypeInfo GetPropInfoDataTypeInfo(PPropInfo APropInfo);
  static TClass GetPropInfoDataTypeInfoClassType(PPropInfo APropInfo);
  static String GetPropInfoTypeName(PPropInfo APropInfo);
  static String GetEnumName(PTypeInfo ATypeInfo, Integer AValue);
  // Adds the value names of an enumeration property (or a set's elements) to AValues.
  static void GetEnumValues(TStrings* AValues, PPropInfo APropInfo);

  // A new object of the registered class AClassName (nullptr BaseClass: any), owned
  // by the caller. EAdvReaderException: "Type "%s" not found", "... does not inherit
  // from %s", "... not supported".
  static std::unique_ptr<TObject> CreateObject(StringView AClassName, TClass BaseClass);

  // --- settings documents ----------------------------------------------------------
  // Writes AObject's JSON at the stream's position.
  static void SaveSettingsToStream(TObject* AObject, TStream* AStream);
  // Reads the JSON from the start of the stream into AObject.
  static void LoadSettingsFromStream(TObject* AObject, TStream* AStream);
  // Creates or replaces the file (EFCreateError on failure).
  static void SaveSettingsToFile(TObject* AObject, const String& AFileName);
  // EFOpenError when the file cannot be read.
  static void LoadSettingsFromFile(TObject* AObject, const String& AFileName);
};

class TAdvWriter : public TObject {
 public:
  // A compact JSON writer over the stream; the text arrives when this writer is destroyed.
  explicit TAdvWriter(TStream* AStream);
  ~TAdvWriter() override;

  // The value form of AObject as the whole document.
  void Write(TObject* AObject);
  // One object with one member AName holding the object forms of AArray.
  void WriteArray(const String& AName, const TAdvObjectArray& AArray);

  TAdvJSONWriter* JSONWriter() const { return FWriter.get(); }
  TObject* IOReference() const { return FIOReference; }
  void SetIOReference(TObject* Value);
  TObject* RootObject() const { return FRootObject; }
  void SetRootObject(TObject* Value);
  const TAdvExcludePropertyListArray& ExcludeProperties() const { return FExcludeProperties; }
  void SetExcludeProperties(const TAdvExcludePropertyListArray& Value);
  TAdvWriterCustomWritePropertyEvent OnCustomWriteProperty;
  TAdvWriterCustomIsAssignablePropertyEvent OnCustomIsAssignableProperty;

 private:
  void WriteValue(TObject* AObject);
  void WriteObjectForm(TObject* AObject);
  void WriteProperty(TObject* AObject, PPropInfo AProp);
  void WriteColor(Int64 AValue);

  std::unique_ptr<TAdvJSONWriter> FWriter;
  TObject* FIOReference = nullptr;
  TObject* FRootObject = nullptr;
  TAdvExcludePropertyListArray FExcludeProperties;
};

class TAdvReader : public TObject {
 public:
  // A reader over a copy of the stream's bytes from its position.
  explicit TAdvReader(TStream* AStream);
  ~TAdvReader() override;

  // Reads the document into the existing object.
  void Read(TObject* AObject);
  // Reads one object form into a new object (its class from the type key, else AClass).
  std::unique_ptr<TObject> Read(TClass AClass);
  // Reads an object's members; the member AName holds the array of new objects
  // returned (the caller owns them). The closing brace stays unread.
  std::vector<std::unique_ptr<TObject>> ReadArray(const String& AName);
  // Gives the pending reference properties their objects through the IO
  // reference's resolver; nothing without one.
  void SolveReferences();

  TAdvJSONReader* JSONReader() const { return FReader.get(); }
  TObject* IOReference() const { return FIOReference; }
  void SetIOReference(TObject* Value);
  TObject* RootObject() const { return FRootObject; }
  void SetRootObject(TObject* Value);
  const TAdvExcludePropertyListArray& ExcludeProperties() const { return FExcludeProperties; }
  void SetExcludeProperties(const TAdvExcludePropertyListArray& Value);
  TAdvReaderCustomReadPropertyEvent OnCustomReadProperty;
  TAdvWriterCustomIsAssignablePropertyEvent OnCustomIsAssignableProperty;

 private:
  void ReadInto(TObject* AObject);
  void ReadObjectForm(TObject* AObject);
  void ReadMembers(TObject* AObject);
  void ReadProperty(TObject* AObject, PPropInfo AProp);
  std::unique_ptr<TObject> ReadNewObject(TClass ABaseClass);
  void ReadCollection(TCollection* ACollection);
  void ReadStrings(TStrings* AStrings);
  Int64 ReadColor();

  std::vector<std::unique_ptr<TAdvObjectReference>> FReferences;
  std::unique_ptr<TAdvJSONReader> FReader;
  TObject* FIOReference = nullptr;
  TObject* FRootObject = nullptr;
  TAdvExcludePropertyListArray FExcludeProperties;
};

// --- The per-object JSON operations -------------------------------------------------
// The object's settings JSON.
String ToJSON(TObject* AObject);
// The same without the named properties (the process-wide exclude list is restored after).
String ToJSON(TObject* AObject, const TAdvObjectExcludePropertyListArray& AExcludedProperties);
// Reads the JSON into the object with the type key empty and the object as IO
// reference for the duration (both restored after, also on failure).
void FromJSON(TObject* AObject, StringView Value);
// The ToJSON text to the diagnostic log.
void Log(TObject* AObject);
void SaveToJSONFile(TObject* AObject, const String& AFileName);
void LoadFromJSONFile(TObject* AObject, const String& AFileName);
void SaveToJSONStream(TObject* AObject, TStream* AStream);
void LoadFromJSONStream(TObject* AObject, TStream* AStream);
// The JSON property: read is ToJSON, write is FromJSON.
inline String JSON(TObject* AObject) { return ToJSON(AObject); }
inline void SetJSON(TObject* AObject, StringView Value) { FromJSON(AObject, Value); }
