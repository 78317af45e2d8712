#pragma once
// The cabinet unpacker of the update run.
#include "platform/rtl/Types.h"

// Unpacks every file of the cabinet into TargetDir with its sub-folders and
// stored times (TargetDir empty: the cabinet's folder). 0 on success; -1 for
// a missing file, a file that is not a cabinet, a damaged one, or a name that
// would land outside TargetDir (then nothing is written). Extractions may run
// at the same time.
Integer CabExtract(const String& CabFile, const String& TargetDir);
