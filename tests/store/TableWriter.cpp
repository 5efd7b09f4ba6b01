// A second program writing the data: opens the file by its path, or with --server the database
// of that name on the server the PG* variables name, and runs one statement.
#include <exception>
#include <iostream>
#include <string>

#include "store/ConnectionString.h"
#include "store/Database.h"
#include "store/ServerSettings.h"

int main(int argc, char** argv) {
    const bool onServer = argc == 4 && std::string(argv[1]) == "--server";
    if (argc != 3 && !onServer) {
        std::cerr << "usage: table_writer <file> <statement>\n"
                     "       table_writer --server <database> <statement>\n";
        return 2;
    }
    try {
        if (onServer) {
            store::ServerSettings server;
            server.database = argv[2];
            store::Database::onServer(server).exec(argv[3]);
        } else {
            store::Database(argv[1], store::kDatabasePassword).exec(argv[2]);
        }
    } catch (const std::exception& error) {
        std::cerr << error.what() << '\n';
        return 1;
    }
    return 0;
}
