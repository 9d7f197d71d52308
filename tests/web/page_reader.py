"""What assistive technology reads of the game's page and does in it, through Chromium's own
accessibility tree (page-driver.py's tree and press)."""

# The roles of what a player reads and presses: buttons, menu items, and the labels' texts.
READ = ("button", "menuitem", "StaticText")


def nodes(page):
    """The tree's nodes that a screen reader reads, in the tree's order, with their roles and names."""
    for node in page.cdp("Accessibility.getFullAXTree", {})["nodes"]:
        role = node.get("role", {}).get("value")
        name = node.get("name", {}).get("value", "")
        if not node.get("ignored") and role in READ and name:
            yield node, role, name


def tree(page):
    return "|".join(f"{role}:{name}" for _, role, name in nodes(page))


def press(page, role, name):
    """Presses the first element of that role and name, as a screen reader does: the element's own
    action, a click on it, wherever it lies."""
    for node, found_role, found_name in nodes(page):
        if (found_role, found_name) == (role, name) and "backendDOMNodeId" in node:
            element = page.cdp("DOM.resolveNode", {"backendNodeId": node["backendDOMNodeId"]})["object"]
            page.cdp("Runtime.callFunctionOn", {"objectId": element["objectId"],
                                                "functionDeclaration": "function () { this.click(); }"})
            return "ok"
    return "none"
