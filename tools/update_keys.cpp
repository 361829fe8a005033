// The publisher's tool for signed update information files.
//
//   quor_update_keys keygen SECRET_FILE
//       makes a key pair, writes the secret key (hex) to SECRET_FILE, readable by its owner
//       alone, and prints the public key (hex) to give the build as QUOR_UPDATE_PUBLIC_KEY.
//   quor_update_keys sign SECRET_FILE INFO_FILE FOLDER
//       rewrites INFO_FILE with the SHA-256 digest of each file it lists (read from FOLDER by
//       the file name of its address) and a signature of the whole file as its last line.
#include <sys/stat.h>

#include <fstream>
#include <iostream>
#include <sstream>

#include "platform/signing.h"
#include "update/info_signature.h"
#include "update/update_info.h"

namespace {

bool readFile(const std::string& path, std::string& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::stringstream s;
    s << in.rdbuf();
    out = s.str();
    return true;
}

int usage() {
    std::cerr << "usage: quor_update_keys keygen SECRET_FILE\n"
                 "       quor_update_keys sign SECRET_FILE INFO_FILE FOLDER\n";
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3)
        return usage();
    const std::string command = argv[1], secretFile = argv[2];
    if (command == "keygen" && argc == 3) {
        std::string pub, sec;
        if (!platform::makeKeyPair(pub, sec)) {
            std::cerr << "quor_update_keys: no key pair could be made\n";
            return 1;
        }
        const mode_t old = ::umask(077);
        std::ofstream out(secretFile, std::ios::binary | std::ios::trunc);
        out << ToHex(sec) << "\n";
        out.close();
        ::umask(old);
        if (!out) {
            std::cerr << "quor_update_keys: cannot write " << secretFile << "\n";
            return 1;
        }
        std::cout << ToHex(pub) << "\n";
        return 0;
    }
    if (command == "sign" && argc == 5) {
        std::string secretHex, info;
        if (!readFile(secretFile, secretHex) || !readFile(argv[3], info)) {
            std::cerr << "quor_update_keys: cannot read " << (secretHex.empty() ? secretFile : argv[3]) << "\n";
            return 1;
        }
        while (!secretHex.empty() && (secretHex.back() == '\n' || secretHex.back() == '\r'))
            secretHex.pop_back();
        std::map<std::string, std::string> contents;
        // A page to open in the browser (method 2) is not downloaded and needs no digest.
        for (const std::string& address : InfoFileList(info)) {
            if (InfoUpgradeMethod(info) == umRedirectToURL)
                break;
            const std::string path = std::string(argv[4]) + "/" + AddressFileName(address);
            if (!readFile(path, contents[address])) {
                std::cerr << "quor_update_keys: cannot read " << path << " for " << address << "\n";
                return 1;
            }
        }
        const std::string signedText = SignInfoFile(info, contents, FromHex(secretHex));
        if (signedText.empty()) {
            std::cerr << "quor_update_keys: " << secretFile << " holds no secret key\n";
            return 1;
        }
        std::ofstream(argv[3], std::ios::binary | std::ios::trunc) << signedText;
        return 0;
    }
    return usage();
}
