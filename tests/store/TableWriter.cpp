// A second program writing the database file: opens it by path and runs one statement.
#include <exception>
#include <iostream>

#include "store/ConnectionString.h"
#include "store/Database.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: table_writer <file> <statement>\n";
        return 2;
    }
    try {
        store::Database db(argv[1], store::kDatabasePassword);
        db.exec(argv[2]);
    } catch (const std::exception& error) {
        std::cerr << error.what() << '\n';
        return 1;
    }
    return 0;
}
