#include "tests/support/RefusingTrigger.h"

#include "tests/support/TestServer.h"

namespace testsupport {

void addRefusingTrigger(const TestDatabase& db, const std::string& name, const std::string& table,
                        const std::string& event, const std::string& condition,
                        const std::string& message) {
    if (!onServer()) {
        db.execDirectly("CREATE TRIGGER \"" + name + "\" BEFORE " + event + " ON \"" + table +
                        "\" WHEN " + condition + " BEGIN SELECT RAISE(ABORT, '" + message +
                        "'); END");
        return;
    }
    // The server's trigger conditions hold no queries: the function tests it.
    db.execDirectly("CREATE FUNCTION \"" + name +
                    "\"() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN IF " + condition +
                    " THEN RAISE EXCEPTION '" + message +
                    "'; END IF; IF TG_OP = 'DELETE' THEN RETURN OLD; END IF; RETURN NEW; END $$");
    db.execDirectly("CREATE TRIGGER \"" + name + "\" BEFORE " + event + " ON \"" + table +
                    "\" FOR EACH ROW EXECUTE FUNCTION \"" + name + "\"()");
}

}  // namespace testsupport
