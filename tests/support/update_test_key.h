#pragma once
// The key pair of the tests: the build's default public key is its public half, so
// information files the tests sign with the secret half are accepted. Never ship a program
// built with this key (the README says how a publisher sets their own).
namespace testsupport {
inline constexpr const char* kUpdateTestPublicKey = "c2cc5aaa4bb10fcc083a2e3e263fbfc3a3c36a1afc9c5a80bb5fa867f78367f5";
inline constexpr const char* kUpdateTestSecretKey =
    "a6af8a2db959e860753dc03b40185f8f7ad9fb703495a20ae56ac576da90c1f6"
    "c2cc5aaa4bb10fcc083a2e3e263fbfc3a3c36a1afc9c5a80bb5fa867f78367f5";
} // namespace testsupport
