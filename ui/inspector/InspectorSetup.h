#pragma once

class QQmlEngine;

namespace corvane {

class ClipboardStore;

/** Adds the inspector's image providers: "image://clipimage/<id>" and "image://qr/<text>". */
void installInspector(QQmlEngine &engine, ClipboardStore *store);

} // namespace corvane
