#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class Log;

// MD5 as defined by RFC 1321, with the reference interface's context.
struct Md5Context {
    std::uint32_t count[2];   // number of bits hashed, low word first
    std::uint32_t state[4];
    std::uint8_t buffer[64];  // bytes waiting for a full block
};

void Md5Init(Md5Context& context);
// A length of 0 or less (or null bytes) changes nothing.
void Md5Update(Md5Context& context, const void* bytes, std::int64_t length);
void Md5Final(Md5Context& context, std::uint8_t digest[16]);
void Md5Transform(std::uint32_t state[4], const std::uint8_t block[64]);

// Digest text: 32 lower-case hexadecimal digits and a NUL.
constexpr int kMd5HexSize = 33;

// The 16 digest bytes as digest text, in the digest's byte order.
void Md5DigestToHex(const std::uint8_t digest[16], char out[kMd5HexSize]);

// Digest of a NUL-terminated text (null reads as empty) written to out.
void Md5Hex(const char* text, char out[kMd5HexSize]);
// Digest of any bytes, as text.
std::string Md5Hex(std::string_view bytes);

// Digest of a whole file's bytes. A file that cannot be opened is logged
// ("Failed to find file for hashing: <path>") and hashes as no bytes.
void Md5HexOfFile(const char* path, char out[kMd5HexSize]);
void Md5HexOfFile(const char* path, char out[kMd5HexSize], Log& log);
