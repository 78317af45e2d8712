#pragma once
// A serial bootloader on the far end of a pseudo-terminal, for tests,
// benchmarks and manual runs. It behaves like the programmer's firmware:
//
//   application  -- waits for the soft-reset command (default "AT+RST?" CR)
//   prompting    -- sends '?' every PromptIntervalMs until 'u' or 'i' arrives
//   describing   -- on 'i' sends the self-description and the end marker '*'
//   ready        -- on 'w' sends '@' (the first page request)
//   receiving    -- takes frames of 0x01 + PageSize bytes, answering each with
//                   '@'; the byte 0x00 ends the upload (back to application)
//
// The reset command restarts the dialogue from any state but receiving. The
// pages of the last upload are kept (Image) so a test can compare them byte for
// byte. Faults make it misbehave in the ways a broken target does.
//
// Typical use:
//   TBootloaderSimulator sim;                       // starts its thread
//   TScopedSerialAlias alias(u"COM42", sim.SlavePath());
//   ... run the upload against "COM42" ...
//   sim.WaitForUploads(1, 5000); EXPECT_EQ(sim.Image(), padded);
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "tests/support/PseudoTerminal.h"

namespace test_support {

struct TBootloaderOptions {
  std::string ResetCommand = "AT+RST?\r";
  // Bytes per page frame the simulator expects after each 0x01.
  int PageSize = 128;
  // The self-description fields; the text sent is Description when set, else
  // "&" PageSize "," BootloaderAddress "," Microcontroller "," ClockHz "," Version.
  std::string BootloaderAddress = "1E00";
  std::string Microcontroller = "atmega88";
  std::string ClockHz = "12000000";
  std::string Version = "2.1";
  std::string Description;
  char EndMarker = '*';
  int PromptIntervalMs = 20;
  // Wire pacing: 0 for none; otherwise every byte in either direction takes the
  // time of 10 bits at this rate (8N1), so an upload lasts as long as on a real line.
  int BaudRate = 0;

  // ---- faults ----
  bool Silent = false;           // receives everything, answers nothing
  bool GarbagePrompts = false;   // sends other bytes where '?' belongs
  bool NoEndMarker = false;      // the self-description never ends
  int MissingPageRequest = -1;   // the '@' with this index (0 = the one after 'w') is never sent
  int LatePageRequestMs = 0;     // delay before every '@' from LateFromRequest on
  int LateFromRequest = 0;
  int DropAfterPages = -1;       // after this many pages the line goes dead (the master closes)

  // ---- hold point ----
  // After this many pages of an upload the next page request waits until
  // Release is called, so a test can look at the host mid-upload for as long
  // as it needs (the host's own patience still runs meanwhile).
  int HoldAfterPages = -1;
};

class TBootloaderSimulator {
 public:
  // Makes the pseudo-terminal and starts serving at once.
  explicit TBootloaderSimulator(TBootloaderOptions options = {});
  // Stops the thread and closes the line.
  ~TBootloaderSimulator();
  TBootloaderSimulator(const TBootloaderSimulator&) = delete;
  TBootloaderSimulator& operator=(const TBootloaderSimulator&) = delete;

  // The device to open (or to alias as "COMn").
  const std::string& SlavePath() const { return FPty.SlavePath(); }
  const TBootloaderOptions& Options() const { return FOptions; }
  // The text sent for 'i', without the end marker.
  std::string DescriptionText() const;

  // The pages of the current or last upload, concatenated.
  std::string Image() const;
  // Every byte the host sent, in order.
  std::string Received() const;
  int ResetCount() const;
  int PagesReceived() const;
  // Uploads ended by the 0x00 byte.
  int UploadsCompleted() const;
  // Bytes that arrived where a frame mark (0x01 or 0x00) belonged.
  int FramingErrors() const;
  bool Dropped() const;
  // True while the upload waits at the hold point.
  bool Holding() const;
  // Lets a held upload go on; a later upload does not hold again.
  void Release();

  // Waits (real time) until the condition on the simulator holds; false on time-out.
  bool WaitUntil(const std::function<bool(const TBootloaderSimulator&)>& condition, int timeoutMs) const;
  bool WaitForUploads(int count, int timeoutMs) const;

 private:
  enum class TState { Application, Prompting, Describing, Ready, Receiving, Dead };
  void Run();
  void Feed(char byte);
  void Send(const std::string& bytes);
  void SendPageRequest(int index);
  void Pause(std::chrono::steady_clock::duration span);
  void Drop();
  void Hold();

  TBootloaderOptions FOptions;
  TPseudoTerminal FPty;
  std::atomic<bool> FStop{false};
  std::thread FThread;

  mutable std::mutex FLock;
  mutable std::condition_variable FChanged;
  std::string FImage;
  std::string FReceived;
  int FResets = 0;
  int FPages = 0;
  int FUploads = 0;
  int FFramingErrors = 0;
  bool FDropped = false;
  bool FHolding = false;
  bool FReleased = false;

  // thread-only state
  TState FState = TState::Application;
  std::string FTail;
  std::string FFrame;
  bool FInFrame = false;
  int FRequests = 0;
  std::chrono::steady_clock::time_point FWireFree{};
};

}  // namespace test_support
