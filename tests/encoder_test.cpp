// Starting the encoder: the command line it receives, waiting, and how the run ended.
#include <doctest.h>

#include "app/globals.h"
#include "app/program_path.h"
#include "convert/encoder.h"
#include "tests/support/test_support.h"

using test::TempFolder;

// A program folder whose PLUG-IN holds the encoder double.
struct ProgramFolderWithDouble {
    TempFolder folder;
    explicit ProgramFolderWithDouble(const std::wstring& suffix) : folder(suffix) {
        CreateDirectoryW((folder / L"PLUG-IN").c_str(), nullptr);
        REQUIRE(CopyFileW(test::EnvPath(L"DUZID_ENCODER_DOUBLE").c_str(), (folder / L"PLUG-IN\\ffmpeg_III.exe").c_str(),
                          FALSE));
    }
    std::string programFolder() const { return test::Utf8(folder.path() + L"\\"); }
    void Control(const std::string& text) const { test::WriteBytes(folder / L"PLUG-IN\\encoder_control.txt", text); }
    std::string Log() const { return test::ReadBytes(folder / L"PLUG-IN\\encoder_log.txt"); }
};

TEST_CASE("the encoder receives exactly that command line, from a folder with spaces and other scripts") {
    REQUIRE(GetACP() == CP_UTF8);
    ProgramFolderWithDouble program(L" my program Ёж");
    std::string in = test::Utf8(L" C:\\Музыка\\песня 1.wav ");
    std::string out = test::Utf8(L"C:\\Out\\_mp3_c_песня 1.wav");
    std::string commandLine = EncoderCommandLine(program.programFolder(), in, out);

    EncoderOutcome outcome = RunEncoder(commandLine);
    CHECK(outcome.end == EncoderEnd::Exited);
    CHECK(outcome.code == 0);
    CHECK(program.Log() == commandLine + "\n");
    CHECK(program.Log().find("128k  -y \"") != std::string::npos);
}

TEST_CASE("a missing encoder is reported as not started and leaves no handle open") {
    TempFolder empty;
    std::string commandLine = EncoderCommandLine(test::Utf8(empty.path()), "a.wav", "b.wav");
    DWORD before = test::HandleCount().all;
    EncoderOutcome outcome = RunEncoder(commandLine);
    DWORD after = test::HandleCount().all;
    CHECK(before > 0);
    CHECK(outcome.end == EncoderEnd::NotStarted);
    CHECK(outcome.code != 0);
    CHECK(after == before);
}

TEST_CASE("exit codes and crashes are recorded; a slow encoder is waited for") {
    ProgramFolderWithDouble program(L" codes");
    std::string commandLine = EncoderCommandLine(program.programFolder(), "a.wav", "b.wav");

    program.Control("exit=3\n");
    EncoderOutcome three = RunEncoder(commandLine);
    CHECK(three.end == EncoderEnd::Exited);
    CHECK(three.code == 3);

    program.Control("crash\n");
    EncoderOutcome crash = RunEncoder(commandLine);
    CHECK(crash.end == EncoderEnd::Exited);
    CHECK(crash.code == 0xC0000005u);

    program.Control("sleep=1500\nexit=0\n");
    DWORD start = GetTickCount();
    DWORD before = test::HandleCount().all;
    EncoderOutcome slow = RunEncoder(commandLine);
    DWORD after = test::HandleCount().all;
    CHECK(GetTickCount() - start >= 1450);
    CHECK(slow.end == EncoderEnd::Exited);
    CHECK(slow.code == 0);
    CHECK(after == before);
}

// Runs EncoderThread on a job as the conversion run starts it and waits for ENCODING to drop.
static EncoderOutcome RunEncoderThread(EncoderJob& job) {
    ENCODING.store(1);
    HANDLE thread = CreateThread(nullptr, 0x100000, EncoderThread, &job, 0, nullptr);
    REQUIRE(thread != nullptr);
    REQUIRE(test::WaitFor([] { return ENCODING.load(std::memory_order_acquire) == 0; }, 30000));
    WaitForSingleObject(thread, 10000);
    CloseHandle(thread);
    return job.outcome.load();
}

TEST_CASE("the encoder thread runs the encoder beside the program and records its end") {
    std::wstring plugIn = ProgramFolderW() + L"PLUG-IN";
    std::wstring encoder = plugIn + L"\\ffmpeg_III.exe";
    CreateDirectoryW(plugIn.c_str(), nullptr);
    DeleteFileW((plugIn + L"\\encoder_log.txt").c_str());
    DeleteFileW(encoder.c_str());

    EncoderJob job;
    SUBCASE("missing encoder") {
        EncoderOutcome outcome = RunEncoderThread(job);
        CHECK(outcome.end == EncoderEnd::NotStarted);
    }
    SUBCASE("the encoder writes the output named last") {
        REQUIRE(CopyFileW(test::EnvPath(L"DUZID_ENCODER_DOUBLE").c_str(), encoder.c_str(), FALSE));
        test::WriteBytes(plugIn + L"\\encoder_control.txt", "write\nexit=0\n");
        TempFolder work(L" work");
        job.inFile = " " + test::Utf8(work / L"in.wav") + " ";
        job.temporaryFile = test::Utf8(work / L"out file.wav");
        EncoderOutcome outcome = RunEncoderThread(job);
        CHECK(outcome.end == EncoderEnd::Exited);
        CHECK(outcome.code == 0);
        CHECK(test::FileExists(work / L"out file.wav"));
        CHECK(test::ReadBytes(plugIn + L"\\encoder_log.txt") ==
              EncoderCommandLine(ProgramFolder(), job.inFile, job.temporaryFile) + "\n");
    }
    SUBCASE("a failing encoder") {
        REQUIRE(CopyFileW(test::EnvPath(L"DUZID_ENCODER_DOUBLE").c_str(), encoder.c_str(), FALSE));
        test::WriteBytes(plugIn + L"\\encoder_control.txt", "exit=7\n");
        TempFolder work(L" work");
        job.temporaryFile = test::Utf8(work / L"out.wav");
        EncoderOutcome outcome = RunEncoderThread(job);
        CHECK(outcome.end == EncoderEnd::Exited);
        CHECK(outcome.code == 7);
    }
    test::DeleteTree(plugIn);
}

TEST_CASE("of the program's inheritable handles, the encoder inherits the log's alone") {
    ProgramFolderWithDouble program(L" handles");
    TempFolder work;
    std::wstring log = work / L"out.converting.wav.log";
    std::string commandLine = EncoderCommandLine(program.programFolder(), "a.wav", test::Utf8(work / L"out.wav"));
    SECURITY_ATTRIBUTES inheritable = {sizeof(inheritable), nullptr, TRUE};
    HANDLE other = CreateEventW(&inheritable, TRUE, TRUE, nullptr);
    REQUIRE(other);
    std::string value = std::to_string((uintptr_t)other);
    program.Control("handle=" + value + "\n");
    EncoderOutcome outcome = RunEncoder(commandLine, log);
    CloseHandle(other);
    CHECK(outcome.code == 0);
    CHECK(test::ReadBytes(log) == "handle " + value + " closed\r\n");  // written through the inherited log
}
