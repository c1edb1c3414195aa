// The game's sound files as the build leaves them beside KeyRally.exe, read by the
// platform's own multimedia file functions the way PlaySound finds them: by bare name,
// from another current folder.
#include <gtest/gtest.h>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <mmsystem.h>

#include <string>

TEST(KeyRallySounds, BesideTheProgramAndReadableAsPcmWaves) {
  char was[MAX_PATH] = "", temp[MAX_PATH] = "";
  ::GetCurrentDirectoryA(MAX_PATH, was);
  ::GetTempPathA(MAX_PATH, temp);
  ASSERT_TRUE(::SetCurrentDirectoryA(temp));
  for (const char* name : {"Openin.wav", "bark.wav"}) {
    SCOPED_TRACE(name);
    HMMIO h = ::mmioOpenA(const_cast<char*>(name), nullptr, MMIO_READ | MMIO_ALLOCBUF);
    ASSERT_TRUE(h) << "not found by its bare name";
    MMCKINFO riff = {};
    riff.fccType = mmioFOURCC('W', 'A', 'V', 'E');
    EXPECT_EQ(::mmioDescend(h, &riff, nullptr, MMIO_FINDRIFF), MMSYSERR_NOERROR);
    MMCKINFO chunk = {};
    chunk.ckid = mmioFOURCC('f', 'm', 't', ' ');
    EXPECT_EQ(::mmioDescend(h, &chunk, &riff, MMIO_FINDCHUNK), MMSYSERR_NOERROR);
    PCMWAVEFORMAT fmt = {};
    EXPECT_EQ(::mmioRead(h, reinterpret_cast<HPSTR>(&fmt), sizeof fmt), static_cast<LONG>(sizeof fmt));
    EXPECT_EQ(fmt.wf.wFormatTag, WAVE_FORMAT_PCM);
    EXPECT_EQ(fmt.wf.nChannels, 1);
    EXPECT_EQ(fmt.wBitsPerSample, 16);
    ::mmioAscend(h, &chunk, 0);
    chunk.ckid = mmioFOURCC('d', 'a', 't', 'a');
    EXPECT_EQ(::mmioDescend(h, &chunk, &riff, MMIO_FINDCHUNK), MMSYSERR_NOERROR);
    EXPECT_GT(chunk.cksize, fmt.wf.nAvgBytesPerSec / 10) << "a tenth of a second at least";
    ::mmioClose(h, 0);
  }
  ::SetCurrentDirectoryA(was);
}
