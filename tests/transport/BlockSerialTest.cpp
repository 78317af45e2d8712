#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "tests/support/PseudoTerminal.h"
#include "transport/BlockSerial.h"

using test_support::TPseudoTerminal;
using test_support::TScopedSerialAlias;

namespace {

std::string AllByteValues() {
  std::string bytes;
  for (int i = 0; i < 256; ++i) bytes += static_cast<char>(i);
  return bytes;
}

// A connected port on the slave of a fresh pseudo-terminal, reached as COM42.
class SerialOverPty : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(alias.Added());
    port.Connect(u"COM42");
    ASSERT_EQ(port.LastError(), 0) << StringToUtf8(port.LastErrorDesc());
    port.Config(115200, 8, 'N', 0, false, false);
    ASSERT_EQ(port.LastError(), 0);
  }

  TPseudoTerminal peer;
  TScopedSerialAlias alias{u"COM42", peer.SlavePath()};
  TBlockSerial port;
};

TEST(BlockSerial, DefaultsAndErrorTexts) {
  TBlockSerial port;
  EXPECT_EQ(port.GetVersion(), u"BlockSerial 7.6.0");
  EXPECT_EQ(port.LastError(), 0);
  EXPECT_EQ(port.LastErrorDesc(), u"OK");
  EXPECT_EQ(port.DeadlockTimeout(), 30000);
  EXPECT_EQ(port.SizeRecvBuffer(), 4096);
  EXPECT_EQ(port.AtTimeout(), 1000);
  EXPECT_TRUE(port.InterPacketTimeout());
  EXPECT_TRUE(port.LinuxLock());
  EXPECT_FALSE(port.RaiseExcept());
  EXPECT_EQ(port.Handle(), INVALID_HANDLE_VALUE);

  struct Case { Integer number; String text; };
  const Case cases[] = {
      {0, u"OK"}, {9991, u"Port owned by other process"}, {9992, u"Instance already in use"},
      {9993, u"Wrong parameter at call"}, {9994, u"Instance not yet connected"},
      {9995, u"No device answer detected"}, {9996, u"Maximal buffer length exceeded"},
      {9997, u"Timeout during operation"}, {9998, u"Reading of data failed"}, {9999, u"Receive framing error"},
      {10000, u"Receive Overrun Error"}, {10001, u"Receive Queue overflow"}, {10002, u"Receive Parity Error"},
      {10003, u"Tranceive Queue is full"}, {2, u"The system cannot find the file specified."},
      {5, u"Access is denied."},
  };
  for (const Case& c : cases) EXPECT_EQ(TBlockSerial::GetErrorDesc(c.number), c.text) << c.number;
}

TEST(BlockSerial, TransfersBeforeConnectFailWith9994AndSendNothing) {
  TBlockSerial port;
  const std::vector<std::function<void()>> operations = {
      [&] { EXPECT_EQ(port.SendBuffer("x", 1), 0); },
      [&] { port.SendByte('x'); },
      [&] { port.SendString("abc"); },
      [&] { EXPECT_EQ(port.RecvPacket(10), ""); },
      [&] { EXPECT_EQ(port.RecvByte(10), 0); },
      [&] { EXPECT_EQ(port.RecvTerminated(10, "*"), ""); },
      [&] { EXPECT_EQ(port.RecvBufferStr(4, 10), ""); },
  };
  for (const auto& operation : operations) {
    port.SetSerialError(0);
    operation();
    EXPECT_EQ(port.LastError(), 9994);
    EXPECT_EQ(port.LastErrorDesc(), u"Instance not yet connected");
  }
  port.SetRaiseExcept(true);
  try {
    port.SendString("abc");
    FAIL() << "no exception";
  } catch (const ESerialError& e) {
    EXPECT_EQ(e.ErrorCode, 9994);
    EXPECT_EQ(e.ErrorMessage, u"Instance not yet connected");
    EXPECT_EQ(e.Message(), u"Communication error 9994: Instance not yet connected");
  }
}

TEST(BlockSerial, BadPortNamesEndInTheSystemsError) {
  struct Case { String name; String device; Integer error; };
  const Case cases[] = {
      {u"COM77", u"\\\\.\\COM77", 2},    // no such alias
      {u"COMX", u"COMX", 2},             // unreadable number: opened as given
      {u"com12", u"\\\\.\\COM12", 2},
      {u"/dev/ttyS-junk", u"\\\\.\\COM-1", 2},
      {u"/nonexistent/tty", u"/nonexistent/tty", 2},
      {u"/etc/hostname", u"/etc/hostname", 2},  // a plain file is never a port
      {u"", u"", 2},
  };
  for (const Case& c : cases) {
    TBlockSerial port;
    port.Connect(c.name);
    EXPECT_EQ(port.Device(), c.device);
    EXPECT_EQ(port.LastError(), c.error) << StringToUtf8(c.name);
    EXPECT_FALSE(port.InstanceActive());
    EXPECT_EQ(port.Handle(), INVALID_HANDLE_VALUE);
  }
}

TEST_F(SerialOverPty, ConnectStateAndSecondConnectAndBusyPort) {
  EXPECT_TRUE(port.InstanceActive());
  EXPECT_EQ(port.Device(), u"\\\\.\\COM42");
  EXPECT_EQ(port.DeviceControlBlock().Flags, 0x1011u);
  EXPECT_EQ(port.DeviceControlBlock().BaudRate, 115200u);
  EXPECT_EQ(port.ModemStatus(), 0);  // a pseudo-terminal has no modem lines
  EXPECT_FALSE(port.CTS());
  port.SetDTR(false);
  port.SetRTS(true);

  port.Connect(u"COM42");
  EXPECT_EQ(port.LastError(), 9992);
  EXPECT_TRUE(port.InstanceActive());

  TBlockSerial other;
  other.Connect(u"COM42");
  EXPECT_EQ(other.LastError(), 5);
  EXPECT_EQ(other.LastErrorDesc(), u"Access is denied.");
  other.Connect(Utf8ToString(peer.SlavePath()));  // the same device by path
  EXPECT_EQ(other.LastError(), 5);

  port.CloseSocket();
  other.Connect(u"COM42");
  EXPECT_EQ(other.LastError(), 0);
}

TEST(BlockSerial, ControlLineTestRefusesALineWithoutDsr) {
  TPseudoTerminal peer;
  TBlockSerial port;
  port.SetTestDSR(true);
  port.Connect(Utf8ToString(peer.SlavePath()));
  EXPECT_EQ(port.LastError(), 9995);
  EXPECT_EQ(port.LastErrorDesc(), u"No device answer detected");
  EXPECT_FALSE(port.InstanceActive());
  EXPECT_EQ(port.Handle(), INVALID_HANDLE_VALUE);
  port.SetTestDSR(false);
  port.Connect(Utf8ToString(peer.SlavePath()));  // the failed attempt left nothing locked
  EXPECT_EQ(port.LastError(), 0);
}

TEST_F(SerialOverPty, EveryByteValuePassesUnalteredBothWays) {
  const std::string bytes = AllByteValues() + "\r\n\n\r\x11\x13\xFF\x00\x7F" + AllByteValues();
  port.SendString(bytes);
  EXPECT_EQ(port.LastError(), 0);
  EXPECT_EQ(peer.Read(bytes.size(), 3000), bytes);

  ASSERT_TRUE(peer.Write(bytes));
  EXPECT_EQ(port.RecvBufferStr(static_cast<Integer>(bytes.size()), 3000), bytes);
  EXPECT_EQ(port.LastError(), 0);
}

TEST_F(SerialOverPty, StatusHookReportsInOrder) {
  std::vector<std::pair<THookSerialReason, String>> seen;
  port.OnStatus = [&](TObject* sender, THookSerialReason reason, const String& value) {
    EXPECT_EQ(sender, &port);
    seen.emplace_back(reason, value);
  };
  port.CloseSocket();
  port.Connect(u"COM42");
  port.SendString("abc");
  ASSERT_TRUE(peer.Write("xyz"));
  ASSERT_TRUE(port.CanRead(2000));
  EXPECT_EQ(port.RecvPacket(1000), "xyz");
  port.SetMaxSendBandwidth(100);
  port.SendString("12345");  // sets the next send 50 ms ahead
  port.SendString("6");      // so this one waits first
  port.CloseSocket();
  port.OnStatus = nullptr;  // the fixture's port outlives `seen`
  ASSERT_GE(seen.size(), 9u);
  const std::vector<THookSerialReason> expected = {HR_SerialClose, HR_Connect, HR_WriteCount, HR_CanRead,
                                                   HR_ReadCount,   HR_WriteCount, HR_Wait, HR_WriteCount,
                                                   HR_SerialClose};
  ASSERT_EQ(seen.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(seen[i].first, expected[i]) << i;
  EXPECT_EQ(seen[1].second, u"\\\\.\\COM42");
  EXPECT_EQ(seen[2].second, u"3");
  EXPECT_EQ(seen[3].second, u"");
  EXPECT_EQ(seen[4].second, u"3");
  EXPECT_EQ(seen[8].second, u"\\\\.\\COM42");
}

TEST_F(SerialOverPty, RecvByteTellsAZeroByteFromATimeout) {
  EXPECT_EQ(port.RecvByte(100), 0);
  EXPECT_EQ(port.LastError(), 9997);
  EXPECT_EQ(port.LastErrorDesc(), u"Timeout during operation");
  ASSERT_TRUE(peer.Write(std::string("\0A", 2)));
  EXPECT_EQ(port.RecvByte(2000), 0);
  EXPECT_EQ(port.LastError(), 0);
  EXPECT_EQ(port.RecvByte(2000), 'A');

  port.SetRaiseExcept(true);
  try {
    port.RecvByte(50);
    FAIL() << "no exception";
  } catch (const ESerialError& e) {
    EXPECT_EQ(e.Message(), u"Communication error 9997: Timeout during operation");
  }
}

TEST_F(SerialOverPty, TerminatedReceiveSplitsAndKeepsTheRestAcrossTimeouts) {
  ASSERT_TRUE(peer.Write("abc"));
  EXPECT_EQ(port.RecvTerminated(200, "*"), "");
  EXPECT_EQ(port.LastError(), 9997);
  EXPECT_EQ(port.LineBuffer(), "abc");

  ASSERT_TRUE(peer.Write("def*ghi"));
  EXPECT_EQ(port.RecvTerminated(5000, "*"), "abcdef");
  EXPECT_EQ(port.LastError(), 0);
  EXPECT_EQ(port.LineBuffer(), "ghi");
  EXPECT_EQ(port.WaitingDataEx(), 3);
  EXPECT_TRUE(port.CanReadEx(0));
  EXPECT_EQ(port.RecvByte(100), 'g');

  ASSERT_TRUE(peer.Write("1<END>2<END>"));
  EXPECT_EQ(port.RecvTerminated(2000, "hi1<END>"), "");  // terminator spans buffer and packet
  EXPECT_EQ(port.LastError(), 0);
  EXPECT_EQ(port.RecvTerminated(2000, "<END>"), "2");
  EXPECT_EQ(port.RecvTerminated(2000, ""), "");
}

TEST_F(SerialOverPty, LineEndConversionAcrossPackets) {
  port.SetConvertLineEnd(true);
  ASSERT_TRUE(peer.Write("a\r"));
  EXPECT_EQ(port.Recvstring(2000), "a");
  ASSERT_TRUE(peer.Write("\nb\r\n"));
  EXPECT_EQ(port.Recvstring(2000), "b");
  ASSERT_TRUE(peer.Write("c\n\rd\ne\r\n"));
  EXPECT_EQ(port.Recvstring(2000), "c");
  EXPECT_EQ(port.Recvstring(2000), "d");
  EXPECT_EQ(port.Recvstring(2000), "e");
  EXPECT_EQ(port.LineBuffer(), "");
}

TEST_F(SerialOverPty, OverlongLineAndFloodEndWith9996) {
  port.SetMaxLineLength(5);
  ASSERT_TRUE(peer.Write("0123456789"));
  EXPECT_EQ(port.RecvTerminated(2000, "*"), "");
  EXPECT_EQ(port.LastError(), 9996);
  EXPECT_EQ(port.LastErrorDesc(), u"Maximal buffer length exceeded");
  port.Purge();

  // With no line limit an endless stream still ends, with bounded memory.
  port.SetMaxLineLength(0);
  std::atomic<bool> stop{false};
  std::thread flood([&] {
    const std::string chunk(4096, 'x');
    while (!stop) peer.Write(chunk);
  });
  EXPECT_EQ(port.RecvTerminated(60000, "*"), "");
  EXPECT_EQ(port.LastError(), 9996);
  EXPECT_LE(port.LineBuffer().size(), TBlockSerial::kUnlimitedLineCap + 65536);
  stop = true;
  flood.join();
}

TEST_F(SerialOverPty, TimeoutRuleWholeOperationOrPerPacket) {
  std::atomic<bool> trickling{true};
  std::thread trickle([&] {
    for (int i = 0; i < 30 && trickling; ++i) {
      peer.Write("t");
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    trickling = false;
  });
  // Whole operation: ends while the peer is still trickling.
  port.SetInterPacketTimeout(false);
  EXPECT_EQ(port.RecvTerminated(300, "*"), "");
  EXPECT_EQ(port.LastError(), 9997);
  EXPECT_TRUE(trickling) << "the whole-operation time-out did not end the receive";
  EXPECT_FALSE(port.LineBuffer().empty());
  trickling = false;
  trickle.join();
  port.Purge();

  // Per packet: goes on as long as each packet follows within the time.
  port.SetInterPacketTimeout(true);
  std::thread slow([&] {
    for (int i = 0; i < 10; ++i) {
      peer.Write("s");
      std::this_thread::sleep_for(std::chrono::milliseconds(60));
    }
    peer.Write("*");
  });
  EXPECT_EQ(port.RecvTerminated(300, "*"), "ssssssssss");
  EXPECT_EQ(port.LastError(), 0);
  slow.join();
}

TEST_F(SerialOverPty, BufferedReceivesKeepTheRest) {
  ASSERT_TRUE(peer.Write("abcdef"));
  EXPECT_EQ(port.RecvBufferStr(4, 2000), "abcd");
  EXPECT_EQ(port.LineBuffer(), "ef");
  EXPECT_EQ(port.RecvBufferStr(0, 2000), "");
  EXPECT_EQ(port.RecvBufferStr(5, 200), "");  // only 2 come: time-out
  EXPECT_EQ(port.LastError(), 9997);
  EXPECT_EQ(port.LineBuffer(), "ef");  // and they wait for the next receive
  EXPECT_EQ(port.RecvPacket(100), "ef");

  // A length off the line that no data follows: a time-out, no huge reservation.
  ASSERT_TRUE(peer.Write(std::string("\xFF\xFF\xFF\x7F", 4) + "xy"));
  EXPECT_EQ(port.RecvBlock(200), "");
  EXPECT_EQ(port.LastError(), 9997);
  EXPECT_EQ(port.LineBuffer(), "xy");
}

TEST_F(SerialOverPty, IntegersBlocksAndStreams) {
  port.SendInteger(0x04030201);
  port.SendBlock("xyz");
  EXPECT_EQ(peer.Read(11, 2000), std::string("\x01\x02\x03\x04\x03\x00\x00\x00xyz", 11));

  ASSERT_TRUE(peer.Write(std::string("\xFE\xFF\xFF\xFF\x02\x00\x00\x00hi", 10)));
  EXPECT_EQ(port.RecvInteger(2000), -2);
  EXPECT_EQ(port.RecvBlock(2000), "hi");

  const std::string payload = std::string(20000, 'q') + "end";
  TBytesStream out(TBytes(payload.begin(), payload.end()));
  out.SetPosition(0);
  std::string wire;
  std::thread reader([&] { wire = peer.Read(4 + 20003, 5000); });  // more than the line buffers hold
  port.SendStreamIndy(out);
  reader.join();
  EXPECT_EQ(port.LastError(), 0);
  EXPECT_EQ(wire.substr(0, 4), std::string("\x00\x00\x4E\x23", 4));
  EXPECT_EQ(wire.substr(4), payload);

  ASSERT_TRUE(peer.Write(std::string("\x05\x00\x00\x00hello", 9)));
  TBytesStream in;
  port.RecvStream(in, 2000);
  EXPECT_EQ(std::string(in.Bytes().begin(), in.Bytes().end()), "hello");
}

TEST_F(SerialOverPty, ConfigSettingsAndRefusals) {
  port.Config(9600, 7, 'E', 2, true, true);
  ASSERT_EQ(port.LastError(), 0);
  port.GetCommState();
  const DCB& d = port.DeviceControlBlock();
  EXPECT_EQ(d.BaudRate, 9600u);
  EXPECT_EQ(d.ByteSize, 7);
  EXPECT_EQ(d.Parity, EVENPARITY);
  EXPECT_EQ(d.StopBits, TWOSTOPBITS);
  EXPECT_EQ(d.Flags, 0x1u | 0x100 | 0x200 | 0x4 | 0x2000 | 0x10 | 0x2);
  EXPECT_EQ(d.XonLim, 1024);

  port.Config(250000, 8, 'x', 0, false, false);  // unknown letter keeps the parity; odd baud via termios2
  EXPECT_EQ(port.LastError(), 0);
  EXPECT_EQ(port.DeviceControlBlock().Parity, EVENPARITY);
  EXPECT_EQ(port.DeviceControlBlock().BaudRate, 250000u);

  struct Bad { Integer baud, bits, stop; };
  const Bad bad[] = {{0, 8, 0}, {-1, 8, 0}, {9600, 9, 0}, {9600, 4, 0}, {9600, 8, 1}, {9600, 8, 3}, {9600, 5, 2}};
  for (const Bad& b : bad) {
    port.Config(b.baud, b.bits, 'N', b.stop, false, false);
    EXPECT_EQ(port.LastError(), 87) << b.baud << " " << b.bits << " " << b.stop;
  }
  port.Config(115200, 8, 'N', 0, false, false);
  port.SendString("ok");
  EXPECT_EQ(peer.Read(2, 2000), "ok");
}

TEST_F(SerialOverPty, StalledWriteTimesOutAndThePortStaysUsable) {
  port.SetDeadlockTimeout(200);
  const std::string big(4 << 20, 'z');  // far more than the line's buffers hold
  const Integer written = port.SendBuffer(big.data(), static_cast<Integer>(big.size()));
  EXPECT_EQ(port.LastError(), 9997);
  EXPECT_LT(written, static_cast<Integer>(big.size()));
  peer.Drain(100);
  port.SendString("after");
  EXPECT_EQ(port.LastError(), 0);
  EXPECT_EQ(peer.Read(5, 2000), "after");
}

TEST_F(SerialOverPty, PeerVanishingMidReadEndsWithTheDeviceError) {
  std::thread closer([&] {
    peer.Write("ab");
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    peer.Close();
  });
  EXPECT_EQ(port.RecvTerminated(10000, "*"), "");
  closer.join();
  EXPECT_EQ(port.LastError(), 1167);
  EXPECT_EQ(port.LastErrorDesc(), u"The device is not connected.");
  EXPECT_EQ(port.LineBuffer(), "ab");
  port.SendString("x");
  EXPECT_EQ(port.LastError(), 1167);
  EXPECT_FALSE(port.CanRead(5000));
  port.CloseSocket();
  EXPECT_EQ(port.LastError(), 0);
}

TEST_F(SerialOverPty, PurgeDropsQueuedAndBufferedBytes) {
  ASSERT_TRUE(peer.Write("abc*def"));
  EXPECT_EQ(port.RecvTerminated(2000, "*"), "abc");
  ASSERT_TRUE(peer.Write("ghi"));
  ASSERT_TRUE(port.CanRead(2000));
  port.Purge();
  EXPECT_EQ(port.LineBuffer(), "");
  EXPECT_EQ(port.WaitingData(), 0);
  EXPECT_EQ(port.RecvPacket(50), "");
  EXPECT_EQ(port.LastError(), 9997);
  EXPECT_TRUE(port.CanWrite(100));
  port.SetBreak(1);
  EXPECT_EQ(port.LastError(), 0);
  port.Flush();
  EXPECT_EQ(port.LastError(), 0);
}

TEST_F(SerialOverPty, ModemDialogue) {
  std::thread modem([&] {
    peer.Read(3, 2000);  // "AT\r"
    peer.Write("AT\r\nfirst\r\nOK\r\n");
    peer.Read(5, 2000);  // "ATX\r"... then an error
    peer.Write("ERROR\r\n");
  });
  EXPECT_EQ(port.ATCommand("AT"), "first\r\nOK\r\n");
  EXPECT_TRUE(port.ATResult());
  EXPECT_FALSE(port.ConvertLineEnd());
  EXPECT_EQ(port.ATCommand("ATXY"), "ERROR\r\n");
  EXPECT_FALSE(port.ATResult());
  modem.join();
}

}  // namespace
