// The installer packed into one file: the digest, the mark, header and index of the
// payload and what a package's start refuses in them, and where a pack goes.
#include "Package.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "PackRun.h"
#include "Sha256.h"

using namespace package;

TEST(Sha256, KnownDigestsFedInAnyPieces) {
  EXPECT_EQ(CSha256::Hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  EXPECT_EQ(CSha256::Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  EXPECT_EQ(CSha256::Hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
            "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
  // a million "a" in pieces that straddle the 64-byte blocks
  CSha256 sha;
  const std::string piece(997, 'a');
  for (std::size_t fed = 0; fed < 1000000; fed += 997) sha.Update(piece.data(), std::min<std::size_t>(997, 1000000 - fed));
  unsigned char digest[CSha256::kDigestSize];
  sha.Final(digest);
  char hex[65];
  for (int i = 0; i < 32; ++i) std::snprintf(hex + 2 * i, 3, "%02x", digest[i]);
  EXPECT_EQ(std::string(hex), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");

  // the processor's SHA rounds, where there are any, and the plain code agree at every length
  std::string bytes;
  for (int i = 0; i < 5000; ++i) bytes += static_cast<char>((i * 7919) >> 3);
  for (std::size_t n : {0, 1, 55, 56, 63, 64, 65, 127, 128, 1000, 5000}) {
    unsigned char fast[CSha256::kDigestSize], plain[CSha256::kDigestSize];
    CSha256 a, b(true);
    a.Update(bytes.data(), n);
    b.Update(bytes.data(), n);
    a.Final(fast);
    b.Final(plain);
    EXPECT_EQ(0, std::memcmp(fast, plain, sizeof fast)) << n;
  }
}

TEST(PackageLayout, MarkHeaderAndSizesHoldTheFileToWhatWasWritten) {
  unsigned char dos[kDosHeaderSize] = {'M', 'Z'};
  EXPECT_TRUE(IsPlainInstaller(dos, sizeof dos));
  EXPECT_EQ(ReadMark(dos), 0u);
  WriteMark(dos, 123456);
  EXPECT_EQ(ReadMark(dos), 123456u);
  EXPECT_FALSE(IsPlainInstaller(dos, sizeof dos)) << "a package is never packed again";
  EXPECT_EQ(dos[0], 'M') << "the loader's part of the header stays";
  ClearMark(dos);
  EXPECT_TRUE(IsPlainInstaller(dos, sizeof dos));
  unsigned char notExe[kDosHeaderSize] = {'Z', 'M'};
  EXPECT_FALSE(IsPlainInstaller(notExe, sizeof notExe));

  Header h;
  h.nCabinetSize = 5000;
  h.nIndexSize = 70;
  h.nInstallerTime = 0x01D9F00DCAFEBABEull;
  for (std::size_t i = 0; i < kDigestSize; ++i) h.digest[i] = static_cast<unsigned char>(i * 7);
  const std::string bytes = EncodeHeader(h);
  ASSERT_EQ(bytes.size(), kHeaderSize);
  Header back;
  ASSERT_TRUE(DecodeHeader(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), back));
  EXPECT_EQ(back.nCabinetSize, 5000u);
  EXPECT_EQ(back.nIndexSize, 70u);
  EXPECT_EQ(back.nInstallerTime, h.nInstallerTime);
  EXPECT_EQ(0, std::memcmp(back.digest, h.digest, kDigestSize));
  std::string flipped = bytes;
  flipped[3] ^= 0x20;
  EXPECT_FALSE(DecodeHeader(reinterpret_cast<const unsigned char*>(flipped.data()), flipped.size(), back));

  const std::uint64_t whole = 1000 + kHeaderSize + 5000 + 70;
  EXPECT_TRUE(FitsFile(h, 1000, whole));
  EXPECT_FALSE(FitsFile(h, 1000, whole - 1)) << "cut";
  EXPECT_FALSE(FitsFile(h, 1000, whole + 1)) << "lengthened";
  EXPECT_FALSE(FitsFile(h, 1000, 10)) << "cut into the installer";
  h.nCabinetSize = ~0ull;
  EXPECT_FALSE(FitsFile(h, 1000, whole)) << "sizes that wrap around";
}

TEST(PackageLayout, IndexKeepsEveryFileAndRefusesNamesNoFolderOfOursTakes) {
  std::vector<Entry> in = {{"KeyRally.exe", 300000, 0x01D9000000000001ull, 0x20},
                           {"words\\打鍵.wds", 12, 2, 0x21},
                           {"Setup.ini", 900, 3, 0}};
  std::vector<Entry> out;
  ASSERT_TRUE(DecodeIndex(EncodeIndex(in), out));
  ASSERT_EQ(out.size(), 3u);
  EXPECT_EQ(out[1].strName, "words\\打鍵.wds");
  EXPECT_EQ(out[1].nSize, 12u);
  EXPECT_EQ(out[1].dwAttributes, 0x21u);
  EXPECT_EQ(out[0].nWriteTime, in[0].nWriteTime);

  const std::string good = EncodeIndex(in);
  EXPECT_FALSE(DecodeIndex(good.substr(0, good.size() - 1), out)) << "cut";
  EXPECT_FALSE(DecodeIndex(good + "x", out)) << "lengthened";
  for (const char* bad : {"..\\evil.exe", "words\\..\\..\\evil.exe", "C:\\evil.exe", "\\evil.exe", "a:stream",
                          "NUL.txt", "setup.EXE", ""}) {
    std::vector<Entry> e = in;
    e[0].strName = bad;
    EXPECT_FALSE(DecodeIndex(EncodeIndex(e), out)) << bad;
  }
  std::vector<Entry> twice = in;
  twice[0].strName = "WORDS/打鍵.WDS";
  EXPECT_FALSE(DecodeIndex(EncodeIndex(twice), out)) << "one file of Windows under two names";
  EXPECT_FALSE(DecodeIndex(EncodeIndex({in[0], in[1]}), out)) << "no Setup.ini";
  EXPECT_FALSE(IsPackableName(std::string(256, 'a')));
}

TEST(PackPlace, BesideTheFolderNamedAfterTheExecutable) {
  using packrun::OutputPath;
  const std::string desk = "C:\\Users\\me\\Desktop\\";
  EXPECT_EQ(OutputPath("", "C:\\work\\dist\\", "KeyRally", desk), "C:\\work\\KeyRally-setup.exe");
  EXPECT_EQ(OutputPath("", "D:\\dist\\", "KeyRally", desk), "D:\\KeyRally-setup.exe");
  EXPECT_EQ(OutputPath("", "D:\\表示\\", "KeyRally", desk), "D:\\KeyRally-setup.exe");
  EXPECT_EQ(OutputPath("", "\\\\srv\\share\\dist\\", "KeyRally", desk), "\\\\srv\\share\\KeyRally-setup.exe");
  // a root has nothing beside it
  EXPECT_EQ(OutputPath("", "D:\\", "KeyRally", desk), desk + "KeyRally-setup.exe");
  EXPECT_EQ(OutputPath("", "\\\\srv\\share\\", "KeyRally", desk), desk + "KeyRally-setup.exe");
  // a folder gets the name, a file is taken as it is
  EXPECT_EQ(OutputPath("E:\\out\\", "C:\\dist\\", "KeyRally", desk), "E:\\out\\KeyRally-setup.exe");
  EXPECT_EQ(OutputPath("E:\\out\\game.exe", "C:\\dist\\", "KeyRally", desk), "E:\\out\\game.exe");
}
