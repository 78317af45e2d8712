#include "webupdate/StatusTexts.h"

namespace {

struct TStatusText {
  Integer Ident;
  const Char* Text;
};

constexpr TStatusText kTexts[] = {
    {909, u"Download update file : "},
    {910, u"Download update files ?"},
    {911, u"Shutdown application to update executable files ?"},
    {912, u"Equal source and target files : %s"},
    {913, u"File not found : %s"},
    {914, u"Zero length source file : %s"},
    {915, u"Download : %s"},
    {916, u"Http status : %s"},
    {917, u"File not found : %s"},
    {918, u"Checking for Internet connection"},
    {919, u"Prompt to open new Internet connection"},
    {920, u"Opening Internet connection"},
    {921, u"Found open Internet connection"},
    {922, u"Cannot open Internet connection"},
    {923, u"Connect to host : %s"},
    {924, u"Cannot connect to FTP host : %s"},
    {925, u"Update control file not found"},
    {926, u"Update control file found"},
    {927, u"Invalid signature in update control file"},
    {928, u"Date based update found"},
    {929, u"New version found : %s"},
    {930, u"No new version found"},
    {931, u"Checksum based update found"},
    {932, u"File size based update found"},
    {933, u"Version based update found"},
    {934, u"Found message instruction"},
    {935, u"Found HTML dialog instruction"},
    {936, u"Found query instruction"},
    {937, u"Found whatsnew instruction"},
    {938, u"Whatsnew not accepted"},
    {939, u"Found license agreement instruction"},
    {940, u"License agreement not accepted"},
    {941, u"Found URL redirection instruction"},
    {942, u"Found URL show instruction"},
    {943, u"Found file update instruction"},
    {944, u"Version check : %s"},
    {945, u"Download update : %s"},
    {946, u"Cannot download update file : %s"},
    {947, u"Error decompressing CAB file : %s"},
    {948, u"Finished processing update control file"},
    {949, u"Closed Internet connection"},
    {950, u"Failed to spawn updater process : %s"},
    {951, u"Cannot connect to server for post"},
    {952, u"Cannot access resource for post"},
    {953, u"Dialup failed"},
    {954, u"Closed FTP connection"},
    {955, u"Disconnect dialup"},
    {956, u"Authentication cancelled"},
    {957, u"Authentication failed"},
    {958, u"Spawn %s"},
    {959, u"Restart app in directory : %s"},
    {960, u"Threaded update execution done"},
    {961, u"Restart after threaded update"},
    {962, u"Found application component : %s"},
    {963, u"Start WebUpdate process with version : %s"},
    {964, u"WebUpdate process cancelled"},
    {965, u"Extract CAB file : %s"},
    {966, u"OS version : %s"},
    {967, u"IE version : %s"},
    {968, u"Start update : %s ---------------------------"},
    {969, u"Compiler : %s"},
    {970, u"Installed IDEs : %s"},
    {971, u"Processing file : %s"},
    {972, u"Cannot delete file : %s"},
    {973, u"Cannot rename file : %s"},
    {974, u"Change FTP directory to : %s"},
    {975, u"Cannot change FTP directory to : %s"},
    {976, u"System error : %s"},
    {977, u"Downloading : %s"},
    {978, u"Downloading..."},
    {979, u"Check versions"},
    {980, u"Cannot connect to SFTP host : %s"},
};

}  // namespace

String WebUpdateStatusText(Integer Ident) {
  for (const TStatusText& t : kTexts)
    if (t.Ident == Ident) return t.Text;
  return {};
}

String WebUpdateStatusMessage(Integer Ident, const String& Text) {
  String message = WebUpdateStatusText(Ident);
  // Only the first "%s" takes the argument; a text without one does not show it.
  if (std::size_t at = message.find(u"%s"); at != String::npos) message.replace(at, 2, Text);
  return message;
}
