#pragma once
// The class library's standard exception messages, in one table. Texts with
// "%s"/"%d" are formatted with Format.

inline constexpr const char16_t* SInvalidInteger = u"'%s' is not a valid integer value";
inline constexpr const char16_t* SInvalidFloat = u"'%s' is not a valid floating point value";
inline constexpr const char16_t* SInvalidBoolean = u"'%s' is not a valid boolean value";
inline constexpr const char16_t* SInvalidFormat = u"Format '%s' invalid or incompatible with argument";
inline constexpr const char16_t* SArgumentMissing = u"No argument for format '%s'";
inline constexpr const char16_t* SDateEncodeError = u"Invalid argument to date encode";
inline constexpr const char16_t* STimeEncodeError = u"Invalid argument to time encode";
inline constexpr const char16_t* SInvalidDate = u"'%s' is not a valid date";
inline constexpr const char16_t* SInvalidTime = u"'%s' is not a valid time";
inline constexpr const char16_t* SInvalidDateTime = u"'%s' is not a valid date and time";
inline constexpr const char16_t* SInvalidOp = u"Invalid floating point operation";
inline constexpr const char16_t* SInvalidCast = u"Invalid class typecast";
inline constexpr const char16_t* SAssignError = u"Cannot assign a %s to a %s";
inline constexpr const char16_t* SListIndexError = u"List index out of bounds (%d)";
inline constexpr const char16_t* SListCapacityError = u"List capacity out of bounds (%d)";
inline constexpr const char16_t* SDuplicateString = u"String list does not allow duplicates";
inline constexpr const char16_t* SSortedListError = u"Operation not allowed on sorted list";
inline constexpr const char16_t* SReadError = u"Stream read error";
inline constexpr const char16_t* SWriteError = u"Stream write error";
inline constexpr const char16_t* SFOpenErrorEx = u"Cannot open file \"%s\". %s";
inline constexpr const char16_t* SFCreateErrorEx = u"Cannot create file \"%s\". %s";
inline constexpr const char16_t* SListCountError = u"List count out of bounds (%d)";
inline constexpr const char16_t* SDuplicateName = u"A component named %s already exists";
inline constexpr const char16_t* SInvalidName = u"'%s' is not a valid component name";
inline constexpr const char16_t* SCircularOwner = u"A component cannot own itself";
inline constexpr const char16_t* SNoItemClass = u"Collection has no item class";
inline constexpr const char16_t* SClassNotFound = u"Class %s not found";
inline constexpr const char16_t* SDuplicateClass = u"A class named %s already exists";
inline constexpr const char16_t* SUndeclaredClass = u"Class is not declared";
inline constexpr const char16_t* SUnknownProperty = u"Property %s does not exist";
inline constexpr const char16_t* SNoProperty = u"Property does not exist";
inline constexpr const char16_t* SInvalidPropertyType = u"Invalid property type: %s";
inline constexpr const char16_t* SReadOnlyProperty = u"Property is read-only";
inline constexpr const char16_t* SWriteOnlyProperty = u"Property is write-only";
inline constexpr const char16_t* SInvalidPropertyElement = u"Invalid property element: %s";
inline constexpr const char16_t* SInvalidPropertyValue = u"Invalid property value";
inline constexpr const char16_t* SRangeError = u"Range check error";
inline constexpr const char16_t* SInvalidPointer = u"Invalid pointer operation";
